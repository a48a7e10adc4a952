#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "files/programming_record.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Threads and processes append at once: every line whole, the header once.
TEST(ProgrammingRecord, AppendsWholeLinesFromManyWritersWithOneHeader) {
    TempDir dir;
    const std::string path = dir.File("record.csv");
    RecordEntry e;
    e.start = std::chrono::system_clock::now();
    e.operation = "write";
    e.port = "COM1";
    e.result = std::string(1500, 'x');  // long lines would tear if written in pieces
    const std::string line = RecordLine(e);
    constexpr int kProcesses = 4, kThreads = 4, kLines = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            std::vector<std::thread> threads;
            bool ok = true;
            for (int t = 0; t < kThreads; ++t) {
                threads.emplace_back([&] {
                    for (int i = 0; i < kLines; ++i) {
                        ok = AppendRecordLine(path, line).empty() && ok;
                    }
                });
            }
            for (auto& t : threads) {
                t.join();
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::istringstream text(test::ReadText(path));
    std::string got;
    std::getline(text, got);
    EXPECT_EQ(got + "\n", kRecordHeader);
    int lines = 0;
    while (std::getline(text, got)) {
        EXPECT_EQ(got + "\n", line);
        ++lines;
    }
    EXPECT_EQ(lines, kProcesses * kThreads * kLines);

    // A file that is there and not empty gets no second header; a folder or
    // a FIFO is refused (without waiting for a reader).
    ASSERT_TRUE(AppendRecordLine(path, "").empty());
    EXPECT_EQ(fs::file_size(path), std::string(kRecordHeader).size() + line.size() * lines);
    EXPECT_NE(AppendRecordLine(dir.Path().string(), line), "");
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    EXPECT_NE(AppendRecordLine(dir.File("fifo"), line), "");
}

}  // namespace
}  // namespace quorim
