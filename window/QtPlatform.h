#pragma once

#include "forms/Platform.h"

#include <memory>
#include <vector>

class QTimer;
class QWidget;

// The platform of the real window: Qt's message and input dialogs, processEvents for the
// yield, precise QTimers for the clock (a 25 ms tick comes every 25 ms, not every 31), and
// the end of the event loop for the end of the program.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // The window that owns the dialogs.
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // Ends the event loop with status once control is back in it; from then on every yield
    // leaves its handler by ProgramEnded, so that no more of the game runs.
    void quit(int status);

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    void DoEvents() override;
    [[noreturn]] void End() override;
    void BindTimer(Timer& timer) override;

private:
    QWidget* dialogParent_ = nullptr;
    bool quitting_ = false;
    std::vector<std::unique_ptr<QTimer>> timers_;
};
