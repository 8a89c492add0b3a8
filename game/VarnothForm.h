#pragma once

#include "forms/Image.h"
#include "forms/ImageList.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Timer.h"

#include <QSizeF>
#include <array>
#include <functional>
#include <vector>

struct Artwork;

// The game's one window as a set of named elements in their starting state: every position,
// size, colour, font, caption, picture, timer and the stacking order. The game logic drives
// these elements; FormWindow shows them. Needs no display, so the whole game runs headless.
class VarnothForm {
public:
    static constexpr int kLamps = 10;

    explicit VarnothForm(const Artwork& artwork);
    VarnothForm(const VarnothForm&) = delete;
    VarnothForm& operator=(const VarnothForm&) = delete;

    const QString Caption = QStringLiteral(".:Varnoth:.");
    const QSizeF ClientSize{7800, 7080};
    const Colour BackColor = RGB(255, 255, 255);
    const PictureRef Icon;

    PictureBox picFire;
    PictureBox picExplosion;
    PictureBox picGZone;

    Label lblScore;
    Label lblHighScoreLabel;
    Label lblHighScore;
    Label lblStat;
    Label lblLives;
    Label lblExtras;
    std::array<Label, kLamps> lblExtraIndicator;

    Image imgComputer;
    Image imgDevice;
    Image imgTankTopLeft;
    Image imgTankTopRight;
    Image imgPanel;
    Image Image1;

    Timer tmrState{40, false};
    Timer tmrExtras{500, true};

    const ImageList imglstComputer;
    const ImageList imglstDevice;

    // The window's own events.
    std::function<void()> Load;
    std::function<void()> Activate;

    // Picture boxes, front to back; they always lie above every windowless element.
    std::vector<PictureBox*> PictureBoxes() { return {&picFire, &picExplosion, &picGZone}; }
    // Labels and images, front to back.
    std::vector<Element*> WindowlessElements();
};
