#include "game/VarnothForm.h"

#include "game/Artwork.h"

namespace {

const Font kDefaultFont{QStringLiteral("MS Sans Serif"), 8.25, false};
const Font kDefaultBold{QStringLiteral("MS Sans Serif"), 8.25, true};
const Font kVerdana{QStringLiteral("Verdana"), 8.25, false};
const Font kVerdanaBold{QStringLiteral("Verdana"), 8.25, true};

constexpr Colour kBlack = RGB(0, 0, 0);
constexpr Colour kPanelGreen = RGB(0, 192, 0);

constexpr int kFirstYellowLamp = 3;
constexpr int kFirstGreenLamp = 6;

// The lamps start all lit.
Label lamp(int index) {
    return Label(QStringLiteral("lblExtraIndicator(%1)").arg(index),
                 QRectF(240 + 240 * index, 6360, 135, 135),
                 {VarnothForm::litLamp(index), SystemColour::WindowText, kDefaultFont,
                  Label::Alignment::Left, true});
}

} // namespace

Colour VarnothForm::litLamp(int index) {
    if (index < kFirstYellowLamp)
        return RGB(255, 0, 0);
    if (index < kFirstGreenLamp)
        return RGB(255, 255, 0);
    return RGB(0, 255, 0);
}

VarnothForm::VarnothForm(const Artwork& artwork)
    : Form(QStringLiteral(".:Varnoth:."), {7800, 7080}, RGB(255, 255, 255), artwork.WindowIcon),
      picFire(QStringLiteral("picFire"), {3620, 6150, 1480, 360},
              {RGB(255, 0, 0), SystemColour::WindowText, kDefaultBold, {}, 2}),
      picExplosion(
          QStringLiteral("picExplosion"), {3600, 4680, 615, 615},
          {RGB(255, 255, 255), SystemColour::WindowText, kDefaultFont, artwork.Explosion, 1},
          false),
      picGZone(QStringLiteral("picGZone"), {0, 2280, 7815, 3375},
               {SystemColour::WindowBackground, RGB(192, 192, 255), kVerdana, {}, 0}),
      lblScore(QStringLiteral("lblScore"), {450, 400, 495, 255},
               {kBlack, RGB(0, 255, 0), kDefaultFont}, QStringLiteral("99 999")),
      lblHighScoreLabel(QStringLiteral("lblHighScoreLabel"), {4680, 120, 3120, 255},
                        {SystemColour::WindowBackground, SystemColour::WindowText, kVerdana},
                        QStringLiteral("Highscore:")),
      lblHighScore(QStringLiteral("lblHighScore"), {4680, 360, 3135, 255},
                   {RGB(255, 255, 255), SystemColour::ButtonText, kVerdana},
                   QStringLiteral("15 000 pts Unknown")),
      lblStat(QStringLiteral("lblStat"), {6000, 6735, 1675, 225},
              {kBlack, kPanelGreen, kVerdanaBold}, QStringLiteral("20 of 20 (100%)")),
      lblLives(QStringLiteral("lblLives"), {6800, 6360, 360, 225},
               {SystemColour::WindowBackground, SystemColour::WindowText, kVerdanaBold,
                Label::Alignment::Center, true},
               QStringLiteral("5")),
      lblExtras(QStringLiteral("lblExtras"), {165, 6735, 5835, 225},
                {kBlack, kPanelGreen, kVerdanaBold},
                QStringLiteral("Stage 1: Enhanced microwave module")),
      lblExtraIndicator{lamp(0), lamp(1), lamp(2), lamp(3), lamp(4),
                        lamp(5), lamp(6), lamp(7), lamp(8), lamp(9)},
      imgComputer(QStringLiteral("imgComputer"), {240, 160, 1155, 1140}),
      imgDevice(QStringLiteral("imgDevice"), {3580, 360, 750, 1890}),
      imgTankTopLeft(QStringLiteral("imgTankTopLeft"), {-160, 1305, 3960, 465},
                     artwork.TankTopLeft),
      imgTankTopRight(QStringLiteral("imgTankTopRight"), {4125, 1305, 3960, 465},
                      artwork.TankTopRight),
      imgPanel(QStringLiteral("imgPanel"), {0, 5970, 7800, 1110}, artwork.Panel),
      Image1(QStringLiteral("Image1"), {0, 5760, 7815, 225}, artwork.ShadingStrip, true, false),
      imglstComputer({77, 76}, {artwork.Computer[0], artwork.Computer[1]}),
      imglstDevice({50, 126}, {artwork.Device[0], artwork.Device[1], artwork.Device[2],
                               artwork.Device[3], artwork.Device[4]}) {}

std::vector<Element*> VarnothForm::WindowlessElements() {
    std::vector<Element*> order{&lblLives, &lblHighScore,   &lblHighScoreLabel,
                                &lblStat,  &lblScore,       &imgComputer,
                                &Image1,   &imgTankTopLeft, &imgTankTopRight};
    for (int i = kLamps - 1; i >= 0; --i)
        order.push_back(&lblExtraIndicator[static_cast<std::size_t>(i)]);
    order.insert(order.end(), {&lblExtras, &imgDevice, &imgPanel});
    return order;
}

// The game paints the faces of its picture boxes, so they get names of their own; a label is
// spoken by its caption, with a description that says which figure it shows. The lamps repeat
// the stage message and the pictures are decoration, so they are left out. In reading order:
// top band, play field, control panel.
const std::vector<Accessibility::Presentation>& VarnothForm::SpokenElements() const {
    static const std::vector<Accessibility::Presentation> elements{
        {QStringLiteral("lblScore"), QAccessible::StaticText, QStringLiteral("Score"),
         QStringLiteral("Score")},
        {QStringLiteral("lblHighScore"), QAccessible::StaticText, QStringLiteral("Best"),
         QStringLiteral("High score and its holder")},
        {QStringLiteral("picGZone"), QAccessible::Canvas, QStringLiteral("Play field"),
         QStringLiteral("Targets cross from left to right below the device; fire when one "
                        "is right under the beam"),
         QStringLiteral("GAME OVER"), QStringLiteral("Game over")},
        {QStringLiteral("picExplosion"), QAccessible::Graphic, QStringLiteral("Explosion"),
         QStringLiteral("Shows over a target that was hit")},
        {QStringLiteral("picFire"), QAccessible::Button, QStringLiteral("Fire"),
         QStringLiteral("Sends the beam down; after a game, asks whether to play again")},
        {QStringLiteral("lblLives"), QAccessible::StaticText, QStringLiteral("Lives"),
         QStringLiteral("Lives")},
        {QStringLiteral("lblExtras"), QAccessible::StaticText, {}, QStringLiteral("Stage")},
        {QStringLiteral("lblStat"), QAccessible::StaticText, QStringLiteral("Hits"),
         QStringLiteral("Targets hit of targets come")},
    };
    return elements;
}
