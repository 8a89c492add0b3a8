#include "window/EventGuard.h"

#include "forms/Conversions.h"
#include "forms/ExitStatus.h"
#include "window/QtPlatform.h"

#include <iostream>

namespace {
constexpr int vbCritical = 16;
} // namespace

Event::Layer EventGuard::layer() {
    return [this](const Event&, std::int16_t& keyAscii, const Event::Handler& next) {
        if (stopped_)
            return;
        try {
            next(keyAscii);
        } catch (const ProgramEnded&) {
            stopped_ = true;
        } catch (const std::exception& error) {
            stop(error);
        }
    };
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
    platform_.MsgBox(message, vbCritical, title_);
    // A handler below this one on the stack, whose yield ran this event, leaves at once too:
    // its platform ends every yield from now on.
    platform_.quit(ExitStatus::kFailure);
}
