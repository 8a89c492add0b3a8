// The yardstick for start-up time and memory: the barest Qt window program, which shows an
// empty window of the game's size, prints the same figures as the game and quits.
#include "replay/PlayStats.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <iostream>

namespace {

class BareWindow : public QWidget {
public:
    PlayStats stats;

protected:
    void paintEvent(QPaintEvent*) override {
        stats.firstFrame();
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setFixedSize(520, 472);
    window.show();
    const int status = app.exec();
    std::cout << window.stats.json() << '\n';
    return status;
}
