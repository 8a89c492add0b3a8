#include "game/Artwork.h"

#include <QString>

static PictureRef picture(const char* name) {
    return Picture::load(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)));
}

Artwork::Artwork()
    : WindowIcon(picture("window-icon")), Explosion(picture("explosion")),
      TankTopLeft(picture("tank-top-left")), TankTopRight(picture("tank-top-right")),
      Panel(picture("panel")),
      ShadingStrip(picture("shading-strip")), Computer{picture("computer-1"),
                                                       picture("computer-2")},
      Device{picture("device-1"), picture("device-2"), picture("device-3"), picture("device-4"),
             picture("device-5")} {}
