// The pictures compiled into the program load from their resource paths at their pixel
// sizes; how they look in the window is for the window's reference pictures to say.

#include <gtest/gtest.h>

#include <QRect>
#include <QSize>
#include <QSvgRenderer>

namespace {

TEST(Pictures, LoadAtTheirPixelSize) {
    const struct {
        const char* name;
        QSize size;
    } pictures[] = {
        {"window-icon", {16, 16}},     {"explosion", {38, 38}},  {"tank-top-left", {264, 31}},
        {"tank-top-right", {264, 31}}, {"panel", {520, 74}},     {"shading-strip", {25, 15}},
        {"computer-1", {77, 76}},      {"computer-2", {77, 76}}, {"device-1", {50, 126}},
        {"device-2", {50, 126}},       {"device-3", {50, 126}},  {"device-4", {50, 126}},
        {"device-5", {50, 126}}};
    for (const auto& p : pictures) {
        QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(p.name)));
        EXPECT_TRUE(renderer.isValid()) << p.name;
        EXPECT_EQ(renderer.defaultSize(), p.size) << p.name;
        EXPECT_EQ(renderer.viewBox(), QRect(QPoint(), p.size)) << p.name;
    }
}

} // namespace
