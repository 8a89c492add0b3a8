#include "replay/PlayStats.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <fstream>
#include <numeric>
#include <sstream>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

// The processor time the whole process has used, user and system.
double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The processor time this thread has used: a tick's own work, without the time it spends
// waiting for the X server to take the frame.
double threadCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + now.tv_nsec / 1e3;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// How long ago the kernel started this process, in ms. The start time is kept in clock
// ticks of the boot clock (10 ms each on most systems), which bounds the precision.
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields after it are counted from its ')'.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    fields >> startTicks;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = static_cast<double>(now.tv_sec) * 1e3 + now.tv_nsec / 1e6;
    return nowMs -
           static_cast<double>(startTicks) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double mean(const std::vector<double>& values) {
    return values.empty() ? 0
                          : std::accumulate(values.begin(), values.end(), 0.0) /
                                static_cast<double>(values.size());
}

double maximum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

} // namespace

PlayStats::PlayStats() {
    // A long game has tens of thousands of ticks; growing the lists mid-game would show up
    // in the very figures they hold.
    intervalsMs_.reserve(1 << 16);
    workUs_.reserve(1 << 16);
    workCpuUs_.reserve(1 << 16);
}

// The processor's share is taken over play, from the first frame on, not over start-up.
void PlayStats::firstFrame() {
    if (startupMs_ >= 0)
        return;
    startupMs_ = msSinceProcessStart();
    began_ = Clock::now();
    cpuAtStart_ = cpuSeconds();
}

void PlayStats::tickStarted() {
    currentStart_ = Clock::now();
    currentCpuStart_ = threadCpuUs();
    if (ticks_ > 0)
        intervalsMs_.push_back(
            std::chrono::duration<double, std::milli>(currentStart_ - lastStart_).count());
    lastStart_ = currentStart_;
    ++ticks_;
}

void PlayStats::tickEnded() {
    workUs_.push_back(
        std::chrono::duration<double, std::micro>(Clock::now() - currentStart_).count());
    workCpuUs_.push_back(threadCpuUs() - currentCpuStart_);
}

std::string PlayStats::json() const {
    const double wallSeconds = std::chrono::duration<double>(Clock::now() - began_).count();
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(3);
    out << "{\"ticks\":" << ticks_ << ",\"tick_interval_ms\":{\"mean\":" << mean(intervalsMs_)
        << ",\"p50\":" << percentile(intervalsMs_, 50)
        << ",\"p99\":" << percentile(intervalsMs_, 99) << ",\"max\":" << maximum(intervalsMs_)
        << "},\"work_per_tick_us\":{\"mean\":" << mean(workUs_)
        << ",\"p99\":" << percentile(workUs_, 99) << ",\"max\":" << maximum(workUs_)
        << "},\"work_per_tick_cpu_us\":{\"mean\":" << mean(workCpuUs_)
        << ",\"p99\":" << percentile(workCpuUs_, 99) << ",\"max\":" << maximum(workCpuUs_)
        << "},\"startup_ms\":" << startupMs_ << ",\"cpu_percent\":"
        << (wallSeconds > 0 ? 100.0 * (cpuSeconds() - cpuAtStart_) / wallSeconds : 0.0)
        << ",\"peak_rss_mib\":" << peakResidentMiB() << "}";
    return out.str();
}
