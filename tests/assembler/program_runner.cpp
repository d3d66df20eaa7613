#include "program_runner.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvid::testing {
namespace {

// The output goes to an unlinked temporary file, which cannot fill a pipe and block the child.
class TOutputFile {
public:
    TOutputFile() {
        char name[] = "/tmp/corvid-run-XXXXXX";
        Descriptor = mkstemp(name);
        if (Descriptor >= 0)
            unlink(name);
    }
    ~TOutputFile() {
        if (Descriptor >= 0)
            close(Descriptor);
    }
    int Descriptor = -1;

    std::string ReadAll() const {
        std::string text;
        char buffer[4096];
        ssize_t n;
        for (off_t offset = 0; (n = pread(Descriptor, buffer, sizeof buffer, offset)) > 0;
             offset += n)
            text.append(buffer, static_cast<size_t>(n));
        return text;
    }
};

} // namespace

TProcessResult RunProcess(const std::vector<std::string>& arguments) {
    TProcessResult result;
    TOutputFile output;
    if (arguments.empty() || output.Descriptor < 0)
        return result;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.Descriptor, 1);
    posix_spawn_file_actions_adddup2(&actions, output.Descriptor, 2);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        return result;
    result.Started = true;

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            return result;
    }
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.PeakRssKiB = usage.ru_maxrss;
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    result.CpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    if (WIFEXITED(status))
        result.ExitCode = WEXITSTATUS(status);
    result.Output = output.ReadAll();
    return result;
}

bool IsOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return false;
    const std::string directories = path;
    size_t start = 0;
    for (;;) {
        const size_t end = directories.find(':', start);
        const std::string directory = directories.substr(start, end - start);
        const std::string candidate = (directory.empty() ? "." : directory) + "/" + program;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

} // namespace corvid::testing
