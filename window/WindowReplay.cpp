#include "window/WindowReplay.h"

#include "forms/ExitStatus.h"
#include "replay/ScriptedPlatform.h"
#include "window/FormWindow.h"

#include <QCoreApplication>
#include <exception>
#include <iostream>

namespace {
constexpr int kTickMs = 25;
} // namespace

WindowReplay::WindowReplay(std::vector<ScriptLine> script, ScriptRunner& runner,
                           ScriptedPlatform& platform, FormWindow& window, bool printStats)
    : script_(std::move(script)), runner_(runner), printStats_(printStats) {
    // The yields inside a tick paint the window and take input, as in a game played live.
    QObject::connect(&platform, &ScriptedPlatform::yielded, &clock_,
                     [] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    // The game's first tick comes with its first frame, not a clock step later: a script
    // with no ticks ends as soon as the window has shown its first frame.
    QObject::connect(
        &window, &FormWindow::painted, &clock_,
        [this] {
            stats_.firstFrame();
            // Not from inside the paint: the step's ticks yield to the event loop.
            QTimer::singleShot(0, &clock_, [this] {
                if (!clock_.isActive())
                    return;
                clock_.start();
                step();
            });
        },
        Qt::SingleShotConnection);
    clock_.setTimerType(Qt::PreciseTimer);
    clock_.setInterval(kTickMs);
    QObject::connect(&clock_, &QTimer::timeout, [this] { step(); });
}

// Runs the lines up to and including the next tick.
void WindowReplay::step() {
    try {
        while (next_ < script_.size()) {
            const ScriptLine& line = script_[next_];
            if (line.command != "tick") {
                runner_.run(line);
                ++next_;
                continue;
            }
            if (ticksLeft_ == 0)
                ticksLeft_ = ScriptRunner::tickCount(line);
            if (ticksLeft_ > 0) {
                stats_.tickStarted();
                runner_.run({line.number, "tick", {}});
                stats_.tickEnded();
            }
            if (--ticksLeft_ <= 0) {
                ticksLeft_ = 0;
                ++next_;
            }
            return;
        }
        runner_.finish();
    } catch (const ProgramEnded&) {
        std::cout << "{\"ended\":true}\n";
    } catch (const ScriptError& fault) {
        std::cerr << "varnoth: " << fault.what() << '\n';
        exitCode_ = ExitStatus::kRefused;
    } catch (const std::exception& error) {
        // This runs from the event loop, which must never see an exception.
        std::cerr << "varnoth: the replay failed: " << error.what() << '\n';
        exitCode_ = ExitStatus::kFailure;
    }
    finish();
}

void WindowReplay::finish() {
    clock_.stop();
    if (printStats_)
        std::cout << stats_.json() << std::endl;
    QCoreApplication::exit(exitCode_);
}
