#pragma once

#include <chrono>
#include <string>
#include <vector>

// The figures of a replayed game in the window: how regularly the ticks came, what each
// cost (the handlers and the painting they cause), how long the program took to show its
// first frame, how busy it kept the processor and how much memory it held at the most.
class PlayStats {
public:
    using Clock = std::chrono::steady_clock;

    PlayStats();

    void firstFrame();
    // Brackets one tick of the state timer.
    void tickStarted();
    void tickEnded();
    // One line of JSON with every figure.
    std::string json() const;

private:
    Clock::time_point began_;
    double cpuAtStart_ = 0;
    double startupMs_ = -1;
    std::vector<double> intervalsMs_;
    std::vector<double> workUs_;
    std::vector<double> workCpuUs_;
    double currentCpuStart_ = 0;
    Clock::time_point lastStart_{};
    Clock::time_point currentStart_{};
    long long ticks_ = 0;
};
