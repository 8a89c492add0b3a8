#pragma once

#include "forms/Picture.h"

// The game's thirteen pictures, loaded once from the program's resources at start-up.
// A missing or broken picture throws std::runtime_error naming it: the game does not start
// with half its artwork.
struct Artwork {
    Artwork();

    PictureRef WindowIcon;
    PictureRef Explosion;
    PictureRef TankTopLeft;
    PictureRef TankTopRight;
    PictureRef Panel;
    PictureRef ShadingStrip;
    PictureRef Computer[2];
    PictureRef Device[5];
};
