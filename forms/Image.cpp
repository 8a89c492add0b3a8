#include "forms/Image.h"

void Image::SetPicture(PictureRef picture) {
    if (picture == picture_)
        return;
    picture_ = std::move(picture);
    report();
}
