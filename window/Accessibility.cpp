#include "window/Accessibility.h"

#include "window/FormAccessible.h"
#include "window/FormWindow.h"
#include "window/PictureBoxAccessible.h"
#include "window/PictureBoxWidget.h"

namespace {

QAccessibleInterface* buildInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("FormWindow")) {
        if (auto* window = qobject_cast<FormWindow*>(object))
            return new FormAccessible(window);
    } else if (className == QLatin1String("PictureBoxWidget")) {
        auto* widget = qobject_cast<PictureBoxWidget*>(object);
        if (const auto* presentation =
                widget ? Accessibility::presentationOf(widget->objectName()) : nullptr)
            return new PictureBoxAccessible(widget, *presentation);
    }
    return nullptr;
}

} // namespace

namespace Accessibility {

const std::vector<Presentation>& spokenElements() {
    static const std::vector<Presentation> elements{
        {QStringLiteral("lblScore"), QAccessible::StaticText, {}, QStringLiteral("Score")},
        {QStringLiteral("lblHighScore"),
         QAccessible::StaticText,
         {},
         QStringLiteral("High score and its holder")},
        {QStringLiteral("picGZone"), QAccessible::Canvas, QStringLiteral("Play field"),
         QStringLiteral("Targets cross from left to right below the device; fire when one "
                        "is right under the beam")},
        {QStringLiteral("picExplosion"), QAccessible::Graphic, QStringLiteral("Explosion"),
         QStringLiteral("Shows over a target that was hit")},
        {QStringLiteral("picFire"), QAccessible::Button, QStringLiteral("Fire"),
         QStringLiteral("Sends the beam down; after a game, asks whether to play again")},
        {QStringLiteral("lblLives"), QAccessible::StaticText, {}, QStringLiteral("Lives")},
        {QStringLiteral("lblExtras"), QAccessible::StaticText, {}, QStringLiteral("Stage")},
        {QStringLiteral("lblStat"),
         QAccessible::StaticText,
         {},
         QStringLiteral("Targets hit of targets come")},
    };
    return elements;
}

const Presentation* presentationOf(const QString& element) {
    for (const Presentation& presentation : spokenElements()) {
        if (presentation.element == element)
            return &presentation;
    }
    return nullptr;
}

void install() {
    QAccessible::installFactory(buildInterface);
}

} // namespace Accessibility
