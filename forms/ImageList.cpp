#include "forms/ImageList.h"

#include <algorithm>
#include <stdexcept>
#include <string>

ImageList::ImageList(QSize imageSize, std::vector<PictureRef> images) : images_(std::move(images)) {
    for (const auto& image : images_) {
        if (!image || image->pixelSize() != imageSize)
            throw std::runtime_error("image list entry " +
                                     (image ? image->Name().toStdString() : "") +
                                     " does not have the list's picture size");
    }
}

PictureRef ImageList::ListImages(int index) const {
    if (index < 1 || index > Count())
        throw std::out_of_range("image list has no entry " + std::to_string(index));
    return images_[static_cast<std::size_t>(index - 1)];
}

int ImageList::IndexOf(const PictureRef& picture) const {
    const auto found = std::find(images_.begin(), images_.end(), picture);
    return found == images_.end() ? 0 : static_cast<int>(found - images_.begin()) + 1;
}
