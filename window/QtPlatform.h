#pragma once

#include "forms/Platform.h"

#include <functional>
#include <memory>
#include <vector>

class QMessageBox;
class QTimer;
class QWidget;

// The platform of the real window: Qt's message and input dialogs, processEvents for the
// yield, precise QTimers for the clock (a 25 ms tick comes every 25 ms, not every 31), and
// exit for the end of the program.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // The window that owns the dialogs.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // Runs just before End leaves the program, for whatever must still be written out.
    std::function<void()> onEnd;
    // Wraps every timer tick, so that a caller can measure them; it must call tick.
    std::function<void(const std::function<void()>& tick)> aroundTick;

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    void DoEvents() override;
    [[noreturn]] void End() override;
    void BindTimer(Timer& timer) override;

    // The message box for a style value, ready to run: buttons, icon and default button.
    static std::unique_ptr<QMessageBox> BuildMessageBox(const QString& prompt, int style,
                                                        const QString& title, QWidget* parent);
    // What the message box's result reads as a message-box answer (6 Yes, 7 No, 2 Cancel...).
    static int AnswerOf(const QMessageBox& box);

private:
    QWidget* dialogParent_ = nullptr;
    std::vector<std::unique_ptr<QTimer>> timers_;
};
