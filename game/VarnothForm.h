#pragma once

#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/ImageList.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Timer.h"

#include <array>
#include <vector>

struct Artwork;

// The game's one window as a set of named elements in their starting state: every position,
// size, colour, font, caption, picture, timer and the stacking order. The game logic drives
// these elements; FormWindow shows them. Needs no display, so the whole game runs headless.
class VarnothForm : public Form {
public:
    static constexpr int kLamps = 10;
    // A lamp is grey while its stage is not reached; lit, the stages run as a rainbow: red,
    // yellow from the fourth lamp, green from the seventh.
    static constexpr Colour kLampOff = RGB(192, 192, 192);
    static Colour litLamp(int index);

    explicit VarnothForm(const Artwork& artwork);

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

    std::vector<PictureBox*> PictureBoxes() override {
        return {&picFire, &picExplosion, &picGZone};
    }
    std::vector<Element*> WindowlessElements() override;
    std::vector<Event*> Events() override {
        return {&Load,
                &Activate,
                &picFire.Click,
                &picFire.KeyPress,
                &tmrState.OnTimer,
                &tmrExtras.OnTimer};
    }
    const std::vector<Accessibility::Presentation>& SpokenElements() const override;
};
