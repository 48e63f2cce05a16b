// Image primitives: which files are photos, decoding fitted into a box,
// thumbnails, and saving with the encoder that the extension names.
#pragma once

#include <QImage>
#include <QString>

namespace ImageOps {

constexpr int kCanvasWidth = 480;  // the editor canvas
constexpr int kCanvasHeight = 360;
constexpr int kThumbWidth = 192;   // the thumbnail canvas
constexpr int kThumbHeight = 144;

// The extension (from the last ".", lower-cased) is .jpg, .jpeg, .bmp, .png or .gif.
bool IsPhotoFile(const QString& path);

// Decodes by content, whatever the extension; null when no decoder accepts it.
QImage Decode(const QString& path);

// Decodes and fits into boxWidth x boxHeight. With shrinkOnly an image larger
// than the box is reduced keeping its proportions and a smaller one is
// returned as it is; without it the result is exactly the box, the image
// centred on white. Never enlarges. scaleOut gets decoded size / returned
// size (1 when not reduced), widthOut/heightOut the decoded size.
QImage LoadFittedBitmap(const QString& path, int boxWidth, int boxHeight, bool shrinkOnly,
                        float* scaleOut = nullptr, int* widthOut = nullptr, int* heightOut = nullptr);

// LoadFittedBitmap(path, 192, 144, shrinkOnly = false).
QImage LoadThumbnailBitmap(const QString& path);

// Saves with the encoder chosen by the path's extension (JPEG, PNG, BMP, GIF).
// False when either argument is missing or the write fails.
bool SaveBitmapToFile(const QString& path, const QImage& bitmap);

} // namespace ImageOps
