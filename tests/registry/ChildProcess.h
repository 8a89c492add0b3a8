#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// Runs a function in a forked copy of the test, for what must happen in another process: a
// dropped privilege, a kill in mid-write, several copies of the game at once. The function's
// result is the child's exit code; _exit, as the test framework's exit handlers are the
// parent's. A child still running at destruction is killed.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<int()>& body) : pid_(fork()) {
        if (pid_ == 0)
            _exit(body());
    }
    ~ChildProcess() {
        kill();
        wait();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void kill() {
        if (pid_ > 0 && status_ < 0)
            ::kill(pid_, SIGKILL);
    }
    // The exit code, or 128 + the signal that ended the child.
    int wait() {
        int raw = 0;
        if (pid_ > 0 && status_ < 0 && waitpid(pid_, &raw, 0) == pid_)
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return status_;
    }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};
