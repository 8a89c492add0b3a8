#pragma once

#include <functional>

#include <sys/types.h>

// Runs a function in a forked copy of the test, for what must happen in another process: a
// file size limit, dropped privileges, a kill in mid-write, several writers at once. The
// function's result is the child's exit code. A child still running at destruction is killed.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<int()>& body);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or 128 + the signal that ended the child.
    int Wait();
    void Kill();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};
