#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorim::test {

struct CliResult {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs the quorim command-line tool with these arguments, no standard input,
// and collects what it prints.
inline CliResult RunCli(const std::vector<std::string>& args) {
    char outName[] = "/tmp/quorim-cli-out-XXXXXX";
    char errName[] = "/tmp/quorim-cli-err-XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    CliResult result;
    const pid_t pid = fork();
    if (pid == 0) {
        const int nullFd = open("/dev/null", O_RDONLY);
        dup2(nullFd, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        std::vector<char*> argv;
        std::string path = QUORIM_CLI_PATH;
        argv.push_back(path.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
    auto slurp = [](const char* name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    result.out = slurp(outName);
    result.err = slurp(errName);
    close(outFd);
    close(errFd);
    unlink(outName);
    unlink(errName);
    return result;
}

}  // namespace quorim::test
