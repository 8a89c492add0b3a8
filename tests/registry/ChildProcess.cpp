#include "ChildProcess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

ChildProcess::ChildProcess(const std::function<int()>& body) {
    pid_ = fork();
    if (pid_ == 0) {
        int code = 125;
        try {
            code = body();
        } catch (const std::exception&) {
            code = 126;
        }
        // _exit: the child must not run the test framework's exit handlers a second time.
        _exit(code);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && status_ < 0) {
        Kill();
        Wait();
    }
}

int ChildProcess::Wait() {
    if (status_ >= 0 || pid_ <= 0) {
        return status_;
    }
    int raw = 0;
    pid_t done = -1;
    do {
        done = waitpid(pid_, &raw, 0);
    } while (done < 0 && errno == EINTR);
    if (done < 0) {
        status_ = 255;
        return status_;
    }
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return status_;
}

void ChildProcess::Kill() {
    if (pid_ > 0 && status_ < 0) {
        kill(pid_, SIGKILL);
    }
}
