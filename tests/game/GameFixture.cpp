#include "GameFixture.h"

#include "view/Artwork.h"
#include "view/Colour.h"
#include "view/Font.h"

#include <QGuiApplication>
#include <QLocale>
#include <algorithm>
#include <memory>

void MemoryHighScores::LoadHighScore(QString& sWho, double& dBest) {
    sWho = who;
    dBest = best;
}

void MemoryHighScores::SaveHighScore(QString& sWho, double& dBest) {
    saved.emplace_back(sWho, dBest);
    who = sWho;
    best = dBest;
}

namespace {

// The application object, the fonts and the pictures live for the whole run and go before
// the program exits: a Qt application torn down among the exit handlers would outlive the
// parts of Qt it still needs.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        Fonts::load();
        artwork_ = std::make_unique<Artwork>();
    }
    void TearDown() override {
        artwork_.reset();
        app_.reset();
    }
    const Artwork& artwork() const { return *artwork_; }

private:
    int argc_ = 1;
    char name_[11] = "game_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
    std::unique_ptr<Artwork> artwork_;
};

QtEnvironment* const environment =
    static_cast<QtEnvironment*>(::testing::AddGlobalTestEnvironment(new QtEnvironment));

} // namespace

const Artwork& SharedArtwork() {
    return environment->artwork();
}

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
