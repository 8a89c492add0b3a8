#pragma once

#include "forms/Event.h"

#include <QString>
#include <exception>

class QtPlatform;

// Stands where a form's events come in from Qt's event loop. The game traps no errors, so
// one that leaves a handler (run-time error 6, Overflow, when a whole number outgrows its
// type) shows a message box over the window, as on the game's home platform, and ends the
// program with status 1; it never reaches the event loop. Nothing of the game runs once it
// has happened, not even the ticks that come while the message is up. End leaves its
// handler the same way, quietly.
//
//   EventGuard guard(platform, App::Title);
//   Game game(artwork, platform, highScores, recorder, guard.layer());
class EventGuard {
public:
    EventGuard(QtPlatform& platform, QString title)
        : platform_(platform), title_(std::move(title)) {}
    EventGuard(const EventGuard&) = delete;
    EventGuard& operator=(const EventGuard&) = delete;

    // The layer to put outermost on every event of the form.
    Event::Layer layer();

private:
    void stop(const std::exception& error);

    QtPlatform& platform_;
    const QString title_;
    bool stopped_ = false;
};
