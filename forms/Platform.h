#pragma once

#include <QString>
#include <exception>

class Timer;

// Thrown by End: unwinds out of the handler that ended the program, so nothing after End
// runs, as in the real game. Whoever raised the event catches it.
class ProgramEnded : public std::exception {
public:
    const char* what() const noexcept override { return "the program has ended"; }
};

// The services the game asks of its surroundings beyond its own elements: the two modal
// dialogs, the yield to pending events, the end of the program, and the clock behind the
// timers. The window uses QtPlatform; tests and the headless driver use ScriptedPlatform,
// so no test waits on wall-clock time or on a person.
class Platform {
public:
    // Message box results.
    static constexpr int vbYes = 6;
    static constexpr int vbNo = 7;
    static constexpr int vbCancel = 2;

    virtual ~Platform() = default;

    // Modal message box; style is the sum of the buttons, icon and default-button values.
    virtual int MsgBox(const QString& prompt, int style, const QString& title) = 0;
    // Modal input box; the text entered, or an empty text on Cancel.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // Runs the pending window events, ticks and input included, before returning.
    virtual void DoEvents() = 0;
    // Ends the program: no further event runs, and End leaves the handler by ProgramEnded.
    [[noreturn]] virtual void End() = 0;
    // Lets the platform's clock drive timer while it is enabled.
    virtual void BindTimer(Timer& timer) = 0;
};
