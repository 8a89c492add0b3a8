#include "view/Artwork.h"
#include "view/FormWindow.h"
#include "view/VarnothForm.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Window {
    Artwork artwork;
    VarnothForm form{artwork};
};

TEST(Layout, LabelsStartWhereAndAsTheyShould) {
    Window w;
    const struct {
        const Label& label;
        QRectF bounds;
        Colour back, fore;
        const char* font;
        bool bold;
        const char* caption;
        Label::Alignment align;
        bool frame;
    } cases[] = {
        {w.form.lblScore,
         {450, 400, 495, 255},
         RGB(0, 0, 0),
         RGB(0, 255, 0),
         "MS Sans Serif",
         false,
         "99 999",
         Label::Alignment::Left,
         false},
        {w.form.lblHighScoreLabel,
         {4680, 120, 3120, 255},
         RGB(255, 255, 255),
         RGB(0, 0, 0),
         "Verdana",
         false,
         "Highscore:",
         Label::Alignment::Left,
         false},
        {w.form.lblHighScore,
         {4680, 360, 3135, 255},
         RGB(255, 255, 255),
         RGB(0, 0, 0),
         "Verdana",
         false,
         "15 000 pts Unknown",
         Label::Alignment::Left,
         false},
        {w.form.lblStat,
         {6000, 6735, 1675, 225},
         RGB(0, 0, 0),
         RGB(0, 192, 0),
         "Verdana",
         true,
         "20 of 20 (100%)",
         Label::Alignment::Left,
         false},
        {w.form.lblLives,
         {6800, 6360, 360, 225},
         RGB(255, 255, 255),
         RGB(0, 0, 0),
         "Verdana",
         true,
         "5",
         Label::Alignment::Center,
         true},
        {w.form.lblExtras,
         {165, 6735, 5835, 225},
         RGB(0, 0, 0),
         RGB(0, 192, 0),
         "Verdana",
         true,
         "Stage 1: Enhanced microwave module",
         Label::Alignment::Left,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label.Name().toStdString());
        EXPECT_EQ(c.label.Bounds(), c.bounds);
        EXPECT_EQ(c.label.BackColor(), c.back);
        EXPECT_EQ(c.label.ForeColor(), c.fore);
        EXPECT_EQ(c.label.Font().Name, QString::fromLatin1(c.font));
        EXPECT_EQ(c.label.Font().Size, 8.25);
        EXPECT_EQ(c.label.Font().Bold, c.bold);
        EXPECT_EQ(c.label.Caption(), QString::fromLatin1(c.caption));
        EXPECT_EQ(c.label.Align(), c.align);
        EXPECT_EQ(c.label.FlatFrame(), c.frame);
        EXPECT_TRUE(c.label.Visible());
    }
}

TEST(Layout, LampsStartLitInTheirRowLeftToRight) {
    Window w;
    const Colour expected[] = {RGB(255, 0, 0),   RGB(255, 0, 0),   RGB(255, 0, 0), RGB(255, 255, 0),
                               RGB(255, 255, 0), RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 0),
                               RGB(0, 255, 0),   RGB(0, 255, 0)};
    for (int i = 0; i < VarnothForm::kLamps; ++i) {
        const Label& lamp = w.form.lblExtraIndicator[static_cast<std::size_t>(i)];
        EXPECT_EQ(lamp.Bounds(), QRectF(240 + 240 * i, 6360, 135, 135)) << i;
        EXPECT_EQ(lamp.BackColor(), expected[i]) << i;
        EXPECT_TRUE(lamp.FlatFrame()) << i;
        EXPECT_TRUE(lamp.Caption().isEmpty()) << i;
    }
}

TEST(Layout, PictureBoxesImagesAndTimersStartAsDesigned) {
    Window w;
    const struct {
        const PictureBox& box;
        QRectF bounds;
        Colour back, fore;
        bool bold;
        bool picture, visible;
        int tab;
    } boxes[] = {
        {w.form.picFire,
         {3620, 6150, 1480, 360},
         RGB(255, 0, 0),
         RGB(0, 0, 0),
         true,
         false,
         true,
         2},
        {w.form.picExplosion,
         {3600, 4680, 615, 615},
         RGB(255, 255, 255),
         RGB(0, 0, 0),
         false,
         true,
         false,
         1},
        {w.form.picGZone,
         {0, 2280, 7815, 3375},
         RGB(255, 255, 255),
         RGB(192, 192, 255),
         false,
         false,
         true,
         0},
    };
    for (const auto& c : boxes) {
        SCOPED_TRACE(c.box.Name().toStdString());
        EXPECT_EQ(c.box.Bounds(), c.bounds);
        EXPECT_EQ(c.box.BackColor(), c.back);
        EXPECT_EQ(c.box.ForeColor(), c.fore);
        EXPECT_EQ(c.box.FontBold(), c.bold);
        EXPECT_EQ(c.box.FontSize(), 8.25);
        EXPECT_EQ(c.box.Picture() != nullptr, c.picture);
        EXPECT_EQ(c.box.Visible(), c.visible);
        EXPECT_EQ(c.box.TabIndex(), c.tab);
        EXPECT_EQ(c.box.DrawWidth(), 1);
    }
    EXPECT_EQ(w.form.picGZone.Font().Name, QStringLiteral("Verdana"));

    const struct {
        const Image& image;
        QRectF bounds;
        const PictureRef& picture;
        bool stretch, visible;
    } images[] = {
        {w.form.imgComputer, {240, 160, 1155, 1140}, {}, false, true},
        {w.form.imgDevice, {3580, 360, 750, 1890}, {}, false, true},
        {w.form.imgTankTopLeft, {-160, 1305, 3960, 465}, w.artwork.TankTopLeft, false, true},
        {w.form.imgTankTopRight, {4125, 1305, 3960, 465}, w.artwork.TankTopRight, false, true},
        {w.form.imgPanel, {0, 5970, 7800, 1110}, w.artwork.Panel, false, true},
        {w.form.Image1, {0, 5760, 7815, 225}, w.artwork.ShadingStrip, true, false},
    };
    for (const auto& c : images) {
        SCOPED_TRACE(c.image.Name().toStdString());
        EXPECT_EQ(c.image.Bounds(), c.bounds);
        EXPECT_EQ(c.image.Picture(), c.picture);
        EXPECT_EQ(c.image.Stretch(), c.stretch);
        EXPECT_EQ(c.image.Visible(), c.visible);
    }

    EXPECT_EQ(w.form.tmrState.Interval(), 40);
    EXPECT_FALSE(w.form.tmrState.Enabled());
    EXPECT_EQ(w.form.tmrExtras.Interval(), 500);
    EXPECT_TRUE(w.form.tmrExtras.Enabled());
    EXPECT_EQ(w.form.imglstComputer.Count(), 2);
    EXPECT_EQ(w.form.imglstComputer.ImageSize(), QSize(77, 76));
    EXPECT_EQ(w.form.imglstDevice.Count(), 5);
    EXPECT_EQ(w.form.imglstDevice.ImageSize(), QSize(50, 126));
    EXPECT_EQ(w.form.imglstDevice.ListImages(3), w.artwork.Device[2]);
}

TEST(Layout, WindowHasItsFixedClientAreaAndCaption) {
    Window w;
    FormWindow window(w.form);
    EXPECT_EQ(window.size(), QSize(520, 472));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.windowTitle(), QStringLiteral(".:Varnoth:."));
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
}

// A picture of one flat colour, to tell in a rendering which element shows at a point.
PictureRef flatPicture(QTemporaryDir& dir, const char* name, QSize size, const char* colour) {
    const QString path = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".svg"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                       "<rect width=\"%1\" height=\"%2\" fill=\"%3\"/></svg>")
            .arg(size.width())
            .arg(size.height())
            .arg(QString::fromLatin1(colour))
            .toUtf8());
    file.close();
    return Picture::load(path);
}

Colour pixelAt(const QImage& image, double xTwips, double yTwips, double ratio) {
    const QRgb p =
        image.pixel(static_cast<int>(xTwips / 15 * ratio), static_cast<int>(yTwips / 15 * ratio));
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// Where elements overlap, the one in front shows: checked on the rendered window with the
// device and the computer painted a colour that no element in front of them has, and the
// captions emptied so that no letter stands on a probed pixel.
TEST(Layout, StackingOrderDecidesWhatShowsWhereElementsOverlap) {
    Window w;
    QTemporaryDir dir;
    constexpr Colour kMagenta = RGB(255, 0, 255);
    constexpr Colour kWhite = RGB(255, 255, 255);
    w.form.imgDevice.SetPicture(flatPicture(dir, "device", {50, 126}, "#ff00ff"));
    w.form.imgComputer.SetPicture(flatPicture(dir, "computer", {77, 76}, "#ff00ff"));
    for (Label* label : {&w.form.lblScore, &w.form.lblLives, &w.form.lblExtras, &w.form.lblStat})
        label->SetCaption({});
    w.form.picExplosion.SetVisible(true);
    FormWindow window(w.form);
    enum class Expect { Is, IsNot };
    const struct {
        const char* what;
        double x, y;
        Expect expect;
        Colour colour;
    } probes[] = {
        {"lblScore over imgComputer", 900, 600, Expect::Is, RGB(0, 0, 0)},
        {"imgComputer around lblScore", 300, 1000, Expect::Is, kMagenta},
        {"lamp 0 over imgPanel", 300, 6420, Expect::Is, RGB(255, 0, 0)},
        {"lamp 4 over imgPanel", 1260, 6420, Expect::Is, RGB(255, 255, 0)},
        {"lamp 9 over imgPanel", 2460, 6420, Expect::Is, RGB(0, 255, 0)},
        {"lblLives over imgPanel", 6980, 6480, Expect::Is, kWhite},
        {"picFire over imgPanel", 3700, 6450, Expect::Is, RGB(255, 0, 0)},
        {"lblExtras over imgPanel", 4000, 6900, Expect::Is, RGB(0, 0, 0)},
        {"lblStat over imgPanel", 7600, 6900, Expect::Is, RGB(0, 0, 0)},
        {"imgDevice in the roof's gap", 3950, 1500, Expect::Is, kMagenta},
        {"imgTankTopLeft over imgDevice", 3620, 1400, Expect::IsNot, kMagenta},
        {"imgTankTopRight over imgDevice", 4300, 1400, Expect::IsNot, kMagenta},
        {"picGZone over the device's place", 3950, 2290, Expect::Is, kWhite},
        {"picExplosion over picGZone", 3885, 4965, Expect::IsNot, kWhite},
    };
    for (const double ratio : {1.0, 2.0}) {
        QImage image(QSize(520, 472) * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        window.render(&image);
        for (const auto& p : probes) {
            const Colour seen = pixelAt(image, p.x, p.y, ratio);
            if (p.expect == Expect::Is)
                EXPECT_EQ(seen, p.colour) << p.what << " at ratio " << ratio;
            else
                EXPECT_NE(seen, p.colour) << p.what << " at ratio " << ratio;
        }
    }
}

} // namespace
