// The edits a user can make to a photo's pixels. Each file operation decodes
// the file by content, transforms the picture and writes it back with the
// encoder that the target's extension names; it returns false when the file
// cannot be decoded or written (and then writes nothing).
#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

namespace ImageOps {

// Edges of a rectangle in top-down pixels: right and bottom are exclusive.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const EdgeRect&) const = default;
};

// 90 degrees counter-clockwise, 90 degrees clockwise, left-right.
QImage RotatedLeft(const QImage& image);
QImage RotatedRight(const QImage& image);
QImage Mirrored(const QImage& image);
// Each edge clamped into the picture, edges in either order; an empty width or
// height leaves the picture as it is.
QImage Cropped(const QImage& image, EdgeRect rect);

// The brightness-and-contrast lookup table applied to each colour channel:
// out = clamp(trunc((v - 128) x (100 + contrast) / 100 + 128 + brightness), 0, 255),
// the factor computed in single precision.
std::array<uint8_t, 256> LightTable(int brightness, int contrast);
QImage WithLightTable(const QImage& image, const std::array<uint8_t, 256>& table);

// Red-eye removal around (x, y) in picture pixels: the 5 x 5 histogram of
// reddish pixels, then a last-in first-out flood fill from the point that
// lowers the red of reddish pixels to the mean of their green and blue. False
// when the point lies outside the picture (nothing changes then).
bool RemoveRedEyeAt(QImage& image, int x, int y);

bool ApplyRotateLeft(const QString& path);
bool ApplyRotateRight(const QString& path);
bool ApplyMirror(const QString& path);
bool ApplyCrop(EdgeRect rect, const QString& path);
// The table applied to sourcePath's picture, written to targetPath.
bool ApplyBrightness(const QString& sourcePath, const QString& targetPath, int value);
bool ApplyContrast(const QString& sourcePath, const QString& targetPath, int value);
// (x, y) in editor-view coordinates: the picture as drawn centred on the
// 480 x 360 canvas (CanvasPlacement; reduced when it is larger). A point
// outside the picture writes nothing and gives false.
bool RemoveRedEye(const QString& path, int x, int y);

} // namespace ImageOps
