#include "platform/child_process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvid {

TChildProcess::~TChildProcess() {
    if (Running())
        Poll();
}

bool TChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory) {
    ExitStatus.reset();
    Error.clear();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    // The program reads nothing from us: the IDE's own input is not its to take.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        Error = std::strerror(result);
        Pid = -1;
        return false;
    }
    Pid = pid;
    return true;
}

void TChildProcess::Record(int status) {
    if (WIFEXITED(status))
        ExitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        ExitStatus = 128 + WTERMSIG(status);
}

std::optional<int> TChildProcess::Poll() {
    if (Pid <= 0 || ExitStatus)
        return ExitStatus;
    int status = 0;
    const pid_t ended = waitpid(Pid, &status, WNOHANG);
    if (ended == Pid)
        Record(status);
    else if (ended < 0 && errno == ECHILD)
        ExitStatus = -1;
    return ExitStatus;
}

int TChildProcess::Wait() {
    while (Pid > 0 && !ExitStatus) {
        int status = 0;
        const pid_t ended = waitpid(Pid, &status, 0);
        if (ended == Pid)
            Record(status);
        else if (ended < 0 && errno != EINTR)
            ExitStatus = -1;
    }
    return ExitStatus.value_or(-1);
}

} // namespace corvid
