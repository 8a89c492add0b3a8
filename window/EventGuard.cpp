#include "window/EventGuard.h"

#include "forms/Conversions.h"
#include "window/QtPlatform.h"
#include "game/VarnothForm.h"

#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace {
constexpr int kFailed = 1;
constexpr int vbCritical = 16;
} // namespace

EventGuard::EventGuard(VarnothForm& form, QWidget& window, std::function<void()> beforeExit)
    : window_(window), beforeExit_(std::move(beforeExit)) {
    guard(form.Load);
    guard(form.Activate);
    guard(form.picFire.Click);
    guard(form.tmrState.OnTimer);
    guard(form.tmrExtras.OnTimer);
    form.picFire.KeyPress = [this, inner = form.picFire.KeyPress](std::int16_t& code) {
        run([&] { inner(code); });
    };
}

void EventGuard::guard(std::function<void()>& event) {
    event = [this, inner = event] { run(inner); };
}

void EventGuard::run(const std::function<void()>& event) {
    if (stopped_)
        return;
    try {
        event();
    } catch (const std::exception& error) {
        stop(error);
    }
}

void EventGuard::stop(const std::exception& error) {
    stopped_ = true;
    const bool overflow = dynamic_cast<const Overflow*>(&error) != nullptr;
    const QString what = QString::fromUtf8(error.what());
    const QString message =
        overflow ? QStringLiteral("Run-time error '%1':\n\n%2").arg(Overflow::Number).arg(what)
                 : QStringLiteral("The game stopped:\n\n%1").arg(what);
    std::cerr << "varnoth: " << (overflow ? "run-time error 6, " : "the game stopped: ")
              << error.what() << '\n';
    QtPlatform::BuildMessageBox(message, vbCritical, App::Title, &window_)->exec();
    if (beforeExit_)
        beforeExit_();
    // Handlers below this one are still on the stack; none of them may carry on.
    std::exit(kFailed);
}
