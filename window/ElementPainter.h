#pragma once

class QPainter;
class QRect;
class Label;
class Image;
class PictureBox;
struct DrawOp;

// Paints elements in logical pixels. Positions in twips are snapped to the painter's device
// pixels, so at a scale factor of 2 lines and smooth text are drawn at twice the resolution
// rather than blown up from the 1x picture. Text in a face on the pixel grid is the exception:
// at whole scales it is the 1x text with each pixel enlarged, as crisp as it was at 1x.
namespace ElementPainter {
// Label and image at their place in the window.
void paint(QPainter& painter, const Label& label);
void paint(QPainter& painter, const Image& image);
// The picture box's face and drawing, with its own top-left corner at the painter's origin.
void paint(QPainter& painter, const PictureBox& box);
// Every logical pixel of its picture box that painting op may touch, at any scale: what has
// to be repainted when the op comes or goes.
QRect reach(const DrawOp& op);
} // namespace ElementPainter
