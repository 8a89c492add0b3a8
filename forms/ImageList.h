#pragma once

#include "forms/Picture.h"

#include <QSize>
#include <vector>

// An invisible, numbered list of pictures of one size. The game reads entry n (from 1) and
// hands its picture to an image.
class ImageList {
public:
    ImageList(QSize imageSize, std::vector<PictureRef> images);

    PictureRef ListImages(int index) const;
    int Count() const { return static_cast<int>(images_.size()); }
    // The entry number that holds picture, 0 when it is none of this list's.
    int IndexOf(const PictureRef& picture) const;

private:
    std::vector<PictureRef> images_;
};
