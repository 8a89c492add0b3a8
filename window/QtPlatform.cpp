#include "window/QtPlatform.h"

#include "forms/ExitStatus.h"
#include "forms/Timer.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// The style value is a sum: buttons in the low digit, icon in steps of 16, default button in
// steps of 256.
constexpr int kButtonsMask = 0x7;
constexpr int kIconMask = 0x70;
constexpr int kDefaultMask = 0x300;

// Each button by the answer it gives: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
constexpr std::array<QMessageBox::StandardButton, 8> kButtonFor = {
    QMessageBox::NoButton, QMessageBox::Ok,     QMessageBox::Cancel, QMessageBox::Abort,
    QMessageBox::Retry,    QMessageBox::Ignore, QMessageBox::Yes,    QMessageBox::No};

// The icons by their style value, in steps of 16.
constexpr std::array<QMessageBox::Icon, 5> kIcons = {QMessageBox::NoIcon, QMessageBox::Critical,
                                                     QMessageBox::Question, QMessageBox::Warning,
                                                     QMessageBox::Information};

// The answers of the buttons a style shows, left to right.
std::vector<int> answersFor(int style) {
    switch (style & kButtonsMask) {
    case 1:
        return {1, 2};
    case 2:
        return {3, 4, 5};
    case 3:
        return {6, 7, 2};
    case 4:
        return {6, 7};
    case 5:
        return {4, 2};
    default:
        return {1};
    }
}

QMessageBox::Icon iconFor(int style) {
    const auto step = static_cast<std::size_t>((style & kIconMask) / 16);
    return step < kIcons.size() ? kIcons[step] : QMessageBox::NoIcon;
}

} // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

int QtPlatform::MsgBox(const QString& prompt, int style, const QString& title) {
    QMessageBox box(iconFor(style), title, prompt, QMessageBox::NoButton, dialogParent_);
    const std::vector<int> answers = answersFor(style);
    for (const int answer : answers)
        box.addButton(kButtonFor[static_cast<std::size_t>(answer)]);
    const auto defaultIndex = static_cast<std::size_t>((style & kDefaultMask) / 256);
    if (defaultIndex < answers.size())
        box.setDefaultButton(kButtonFor[static_cast<std::size_t>(answers[defaultIndex])]);
    // Escape and the close box answer Cancel where there is one.
    if (std::ranges::find(answers, Platform::vbCancel) != answers.end())
        box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    // Closed by no button of the table: as Cancel.
    const auto answer =
        std::ranges::find(kButtonFor, box.standardButton(box.clickedButton())) - kButtonFor.begin();
    return answer > 0 && answer < std::ssize(kButtonFor) ? static_cast<int>(answer)
                                                         : Platform::vbCancel;
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
