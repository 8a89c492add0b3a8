#pragma once

#include "forms/Element.h"
#include "forms/Picture.h"

// A windowless picture: shows Picture at its own size at the element's top-left corner, or
// stretched over the element's rectangle. The window paints it in the stacking order.
class Image : public Element {
public:
    Image(QString name, QRectF bounds, PictureRef picture = {}, bool stretch = false,
          bool visible = true)
        : Element(std::move(name), bounds, visible), picture_(std::move(picture)),
          stretch_(stretch) {}

    const PictureRef& Picture() const { return picture_; }
    void SetPicture(const PictureRef& picture) { change(picture_, picture); }
    bool Stretch() const { return stretch_; }

private:
    PictureRef picture_;
    bool stretch_;
};
