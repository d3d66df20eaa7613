// corvid-asm run as a real process: exit codes, message format, output and listing files.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

class CorvidAsm : public ::testing::Test {
protected:
    fs::path Dir;

    void SetUp() override {
        char name[] = "/tmp/corvid-asm-tool-XXXXXX";
        Dir = mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(Dir); }

    RunResult Run(const std::vector<std::string>& arguments) {
        const fs::path out = Dir / ".stdout";
        const fs::path err = Dir / ".stderr";
        const pid_t child = fork();
        if (child == 0) {
            chdir(Dir.c_str());
            const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(outFd, 1);
            dup2(errFd, 2);
            std::vector<char*> argv{const_cast<char*>(CORVID_ASM_PROGRAM)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(CORVID_ASM_PROGRAM, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        RunResult result;
        result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.Out = ReadFile(out);
        result.Err = ReadFile(err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }
};

TEST_F(CorvidAsm, ACleanFileWritesItsS19BesideTheSourceAndExitsZero) {
    WriteFile(Dir / "prog.v2.asm", " ORG $F800\n LDAA #5\n STAA $1000\n");
    const RunResult result = Run({"prog.v2.asm"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(ReadFile(Dir / "prog.s19"), "S108F8008605B71000AD\r\nS9030000FC");
}

TEST_F(CorvidAsm, MessagesNameFileLineAndColumnForEditors) {
    WriteFile(Dir / "bad.asm", " NOP\n LDAA LATER\nLATER EQU $40\n LDAA #300\n LDAA UNKNOWN\n");
    const RunResult result = Run({"bad.asm"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "bad.asm:2:7: Hint:Extended addressing used for short address\n"
                          "bad.asm:4:8: Warning:Immediate value overflow/underflow\n"
                          "bad.asm:5:7: Error:Undeclared identifier\n");
    EXPECT_TRUE(fs::exists(Dir / "bad.s19"));
}

TEST_F(CorvidAsm, WarningsAloneStillSucceed) {
    WriteFile(Dir / "warn.asm", " LDAA #256\n");
    EXPECT_EQ(Run({"warn.asm"}).ExitCode, 0);
}

TEST_F(CorvidAsm, OptionsChooseOutputListingModeAndTabs) {
    WriteFile(Dir / "p.asm", "\tNOP garbage\nL\tFCB\t1\n");
    RunResult result = Run({"--compat", "-o", "out/x.s19", "--listing", "p.lst", "p.asm"});
    EXPECT_EQ(result.ExitCode, 2) << "the output directory does not exist";
    EXPECT_NE(result.Err.find("cannot write out/x.s19"), std::string::npos) << result.Err;

    fs::create_directory(Dir / "out");
    result = Run({"--compat", "-o", "out/x.s19", "--listing", "p.lst", "p.asm"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(ReadFile(Dir / "out/x.s19"), "S10500000101F8\r\nS9030000FC");
    EXPECT_EQ(ReadFile(Dir / "p.lst"),
              "Make Output for \"p.asm\"\n"
              "\n"
              "**********************************   Code   "
              "**********************************\n"
              "\n"
              "Addr:0000 Op: 01               " "  NOP garbage\n"
              "Addr:0001 Op: 01               " "L  FCB  1\n"
              "                               " "\n"
              "\n"
              "**********************************  Labels  "
              "**********************************\n"
              "\n"
              "L                              Addr:0001\n");

    result = Run({"--tab-size", "1", "p.asm"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "p.asm:1:6: Error:Expected label or instruction\n");
}

TEST_F(CorvidAsm, UsageAndFileErrorsExitTwoWithAClearText) {
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{}, "corvid-asm: no source file given\n"},
        {{"--bogus", "x.asm"}, "corvid-asm: unknown option --bogus\n"},
        {{"-o"}, "corvid-asm: option -o needs a value\n"},
        {{"--tab-size", "0", "x.asm"}, "corvid-asm: --tab-size needs a number from 1 to 16"},
        {{"a.asm", "b.asm"}, "corvid-asm: only one source file can be assembled at a time\n"},
        {{"missing.asm"}, "corvid-asm: Cannot open file \"missing.asm\""},
    };
    for (const auto& c : cases) {
        const RunResult result = Run(c.arguments);
        EXPECT_EQ(result.ExitCode, 2) << c.error;
        EXPECT_EQ(result.Err.rfind(c.error, 0), 0u) << result.Err;
    }
}

TEST_F(CorvidAsm, HelpDocumentsTheOptions) {
    const RunResult result = Run({"--help"});
    EXPECT_EQ(result.ExitCode, 0);
    for (const char* option : {"--output", "--listing", "--compat", "--tab-size", "Exit status"})
        EXPECT_NE(result.Out.find(option), std::string::npos) << option;
}

TEST_F(CorvidAsm, APasswordProtectedFileIsRefused) {
    WriteFile(Dir / "secret.asm", std::string("1.crypt00") + std::string(300, '\x01'));
    const RunResult result = Run({"secret.asm"});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_NE(result.Err.find("password-protected"), std::string::npos);
}

} // namespace
