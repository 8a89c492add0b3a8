#include "GameFixture.h"

#include "view/Artwork.h"
#include "view/Colour.h"

#include <QLocale>
#include <algorithm>

GameTest::GameTest() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    game.Form_Load();
}

void GameTest::Tick(int count) {
    for (int i = 0; i < count; ++i)
        game.tmrState_Timer();
}

void GameTest::ApplyMeter(Long meter) {
    m.lExtraPoints = meter;
    m.lStage = -1;
    game.UpdateStage(0);
}

int GameTest::DevicePicture() const {
    return form.imglstDevice.IndexOf(form.imgDevice.Picture());
}

int GameTest::ComputerPicture() const {
    return form.imglstComputer.IndexOf(form.imgComputer.Picture());
}

QString GameTest::Lamps() const {
    QString lamps;
    for (const Label& lamp : form.lblExtraIndicator) {
        switch (lamp.BackColor()) {
        case RGB(255, 0, 0):
            lamps += u'R';
            break;
        case RGB(255, 255, 0):
            lamps += u'Y';
            break;
        case RGB(0, 255, 0):
            lamps += u'G';
            break;
        case RGB(192, 192, 192):
            lamps += u'-';
            break;
        default:
            lamps += u'?';
        }
    }
    return lamps;
}

std::vector<DrawOp> OpsOf(const PictureBox& box, DrawOp::Kind kind) {
    std::vector<DrawOp> ops;
    std::copy_if(box.Drawing().begin(), box.Drawing().end(), std::back_inserter(ops),
                 [kind](const DrawOp& op) { return op.kind == kind; });
    return ops;
}
