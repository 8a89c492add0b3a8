// Renders the window icon's SVG at its own pixel size and enlarges it to square PNG icons
// pixel by pixel, so the pixel art stays crisp at every size.
//
// Usage: render-icons INPUT.svg OUTPUT-DIR SIZE...
// writes OUTPUT-DIR/SIZExSIZE.png for each SIZE.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s INPUT.svg OUTPUT-DIR SIZE...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Says what went wrong with which argument and gives the status to exit with.
    const auto fail = [argv](int status, const char* what, const char* which) {
        std::fprintf(stderr, "%s: %s %s\n", argv[0], what, which);
        return status;
    };

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid())
        return fail(1, "cannot read", argv[1]);
    QImage source(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    source.fill(Qt::transparent);
    {
        QPainter painter(&source);
        renderer.render(&painter);
    }

    const QDir outputDir(QString::fromLocal8Bit(argv[2]));
    if (!outputDir.mkpath(QStringLiteral(".")))
        return fail(1, "cannot create", argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0)
            return fail(2, "bad size", argv[i]);
        const QImage icon =
            source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QString path = outputDir.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (!icon.save(path, "PNG"))
            return fail(1, "cannot write", qPrintable(path));
    }
    return 0;
}
