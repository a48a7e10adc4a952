// Stands in for a language build in the launcher's tests: writes its own
// file name and the number of its arguments into "ran.txt" beside itself.
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
    const std::string self = argc > 0 ? argv[0] : "";
    const std::size_t slash = self.find_last_of("/\\");
    const std::string dir = slash == std::string::npos ? "." : self.substr(0, slash);
    const std::string name = slash == std::string::npos ? self : self.substr(slash + 1);
    std::ofstream(dir + "/ran.txt") << name << ' ' << argc - 1 << '\n';
    return 0;
}
