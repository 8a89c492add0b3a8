#pragma once

#include <exception>
#include <functional>

class QWidget;
class VarnothForm;

// Stands where the game's events come in from Qt's event loop: the form's Load and
// Activate, the fire button's click and key, the two timers. The game traps no errors, so
// one that leaves a handler (run-time error 6, Overflow, when a whole number outgrows its
// type) ends the program with status 1 and a message box over the window, as on the game's
// home platform, and never reaches the event loop. Nothing of the game runs once it has
// happened, not even the ticks that come while the message is up.
//
//   EventGuard guard(game.form, window, [&] { recorder.Close(); });
//   window.Show();
//
// Build it after the game (and its recorder), which wire the events it wraps.
class EventGuard {
public:
    EventGuard(VarnothForm& form, QWidget& window, std::function<void()> beforeExit);
    EventGuard(const EventGuard&) = delete;
    EventGuard& operator=(const EventGuard&) = delete;

private:
    void guard(std::function<void()>& event);
    void run(const std::function<void()>& event);
    [[noreturn]] void stop(const std::exception& error);

    QWidget& window_;
    std::function<void()> beforeExit_;
    bool stopped_ = false;
};
