#include "window/QtPlatform.h"

#include "forms/ExitStatus.h"
#include "forms/Timer.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <utility>

namespace {

// The style value is a sum: buttons in the low digit, icon in steps of 16, default button in
// steps of 256.
constexpr int kButtonsMask = 0x7;
constexpr int kIconMask = 0x70;
constexpr int kDefaultMask = 0x300;

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonAnswer> buttonsFor(int style) {
    using B = QMessageBox;
    switch (style & kButtonsMask) {
    case 1:
        return {{B::Ok, 1}, {B::Cancel, 2}};
    case 2:
        return {{B::Abort, 3}, {B::Retry, 4}, {B::Ignore, 5}};
    case 3:
        return {{B::Yes, 6}, {B::No, 7}, {B::Cancel, 2}};
    case 4:
        return {{B::Yes, 6}, {B::No, 7}};
    case 5:
        return {{B::Retry, 4}, {B::Cancel, 2}};
    default:
        return {{B::Ok, 1}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & kIconMask) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

std::unique_ptr<QMessageBox> QtPlatform::buildMessageBox(const QString& prompt, int style,
                                                         const QString& title, QWidget* parent) {
    auto box =
        std::make_unique<QMessageBox>(iconFor(style), title, prompt, QMessageBox::NoButton, parent);
    const auto buttons = buttonsFor(style);
    for (const auto& [button, answer] : buttons)
        box->addButton(button);
    const auto defaultIndex = static_cast<std::size_t>((style & kDefaultMask) / 256);
    if (defaultIndex < buttons.size())
        box->setDefaultButton(buttons[defaultIndex].button);
    // Escape and the close box answer Cancel where there is one.
    for (const auto& [button, answer] : buttons) {
        if (answer == Platform::vbCancel)
            box->setEscapeButton(button);
    }
    return box;
}

int QtPlatform::answerOf(const QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return 1;
    case QMessageBox::Abort:
        return 3;
    case QMessageBox::Retry:
        return 4;
    case QMessageBox::Ignore:
        return 5;
    case QMessageBox::Yes:
        return Platform::vbYes;
    case QMessageBox::No:
        return Platform::vbNo;
    default:
        return Platform::vbCancel;
    }
}

int QtPlatform::MsgBox(const QString& prompt, int style, const QString& title) {
    auto box = buildMessageBox(prompt, style, title, dialogParent_);
    box->exec();
    return answerOf(*box);
}

QString QtPlatform::InputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) {
    QInputDialog dialog(dialogParent_);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setInputMode(QInputDialog::TextInput);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void QtPlatform::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (quitting_)
        throw ProgramEnded();
}

void QtPlatform::quit(int status) {
    quitting_ = true;
    // Queued, so that it reaches the application's own loop even when it comes before that
    // loop runs or from inside a dialog's.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
        Qt::QueuedConnection);
}

void QtPlatform::End() {
    quit(ExitStatus::kSuccess);
    throw ProgramEnded();
}

void QtPlatform::BindTimer(Timer& timer) {
    auto& clock = timers_.emplace_back(std::make_unique<QTimer>());
    clock->setTimerType(Qt::PreciseTimer);
    QTimer* raw = clock.get();
    QObject::connect(raw, &QTimer::timeout, [&timer] { timer.OnTimer.Raise(); });
    const auto apply = [raw, &timer] {
        raw->setInterval(timer.Interval());
        if (timer.Enabled() && !raw->isActive())
            raw->start();
        else if (!timer.Enabled())
            raw->stop();
    };
    QObject::connect(&timer, &Timer::changed, raw, apply);
    apply();
}
