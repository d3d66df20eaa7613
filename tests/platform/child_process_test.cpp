#include "platform/child_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace corvid {
namespace {

namespace fs = std::filesystem;

TEST(ChildProcess, RunsAScriptWithArgumentsInItsDirectory) {
    char name[] = "/tmp/corvid-process-XXXXXX";
    const fs::path dir = mkdtemp(name);
    std::ofstream(dir / "script.sh") << "printf '%s|%s' \"$1\" \"$2\" > out.txt\nexit 3\n";
    TChildProcess process;
    ASSERT_TRUE(process.Start("/bin/sh", {"script.sh", "a file with blanks.asm", "x'y"}, dir));
    EXPECT_EQ(process.Wait(), 3);
    EXPECT_FALSE(process.Running());
    std::ifstream out(dir / "out.txt");
    std::string text;
    std::getline(out, text);
    EXPECT_EQ(text, "a file with blanks.asm|x'y");
    fs::remove_all(dir);
}

TEST(ChildProcess, PollingSeesTheEndWithoutBlocking) {
    TChildProcess process;
    ASSERT_TRUE(process.Start("/bin/sh", {"-c", "sleep 0.2"}, ""));
    EXPECT_FALSE(process.Poll().has_value());
    EXPECT_TRUE(process.Running());
    while (!process.Poll())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(process.Poll(), 0);
}

TEST(ChildProcess, AProgramThatCannotStartSaysWhy) {
    TChildProcess process;
    EXPECT_FALSE(process.Start("/nonexistent/compile.sh", {}, ""));
    EXPECT_FALSE(process.Error.empty());
    EXPECT_FALSE(process.Poll().has_value());
}

TEST(ChildProcess, ASignalEndsWithItsNumberAbove128) {
    TChildProcess process;
    ASSERT_TRUE(process.Start("/bin/sh", {"-c", "kill -9 $$"}, ""));
    EXPECT_EQ(process.Wait(), 128 + 9);
}

} // namespace
} // namespace corvid
