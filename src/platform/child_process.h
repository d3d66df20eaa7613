#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace corvid {

// A program started in the background with an argument list (no shell quoting), watched
// without blocking: the caller polls for its end from a timer.
class TChildProcess {
public:
    TChildProcess() = default;
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;
    // A process still running when its watcher goes is left to run; it is reaped by then.
    ~TChildProcess();

    // Starts program (a path) with the arguments in the directory; false, with the system's
    // reason in Error, when it cannot start.
    bool Start(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& directory);
    bool Running() const { return Pid > 0 && !ExitStatus; }
    // The exit status once the process has ended (a signal gives 128 + its number); none
    // while it runs or when none was started.
    std::optional<int> Poll();
    // Waits for the end; for tests and shutdown.
    int Wait();

    std::string Error;

private:
    pid_t Pid = -1;
    std::optional<int> ExitStatus;

    void Record(int status);
};

} // namespace corvid
