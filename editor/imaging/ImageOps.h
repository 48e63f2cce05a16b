// Image primitives: which files are photos, decoding fitted into a box,
// thumbnails, and saving with the encoder that the extension names.
//
// Pictures are handed around as QImage in the depth they decode to: an opaque
// true-colour photo as RGB888 (RGB32 straight from the JPEG decoder), a grey
// one as Grayscale8, a palette picture as Indexed8 until it has to be
// resampled. Photos are decoded upright: an EXIF orientation is applied
// wherever a photo is decoded, and every size given out is the upright one.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace ImageOps {

constexpr int kCanvasWidth = 480;  // the editor canvas
constexpr int kCanvasHeight = 360;
constexpr int kThumbWidth = 192;   // the thumbnail canvas
constexpr int kThumbHeight = 144;

// The extension (from the last ".", lower-cased) is .jpg, .jpeg, .bmp, .png or .gif.
bool IsPhotoFile(const QString& path);

// Photos whose header claims more pixels than this are refused before any
// decoding (a tiny file may claim 60,000 x 60,000 pixels): 200 megapixels is
// above any camera's sensor and leaves room for stitched panoramas.
constexpr qint64 kMaxPhotoPixels = 200'000'000;

// Decodes a regular file by its content (BMP, GIF, JPEG, PNG, ICO, TIFF, TGA,
// WBMP), whatever its extension, upright. Null when no decoder accepts it,
// when the file cannot be read, and when it has more than kMaxPhotoPixels.
// A JPEG, GIF or BMP file cut short shows what decodes, the missing part of a
// JPEG or BMP grey.
QImage Decode(const QString& path);
// The upright size of the photo from its header, without decoding its pixels;
// invalid when no decoder accepts the file.
QSize PictureSize(const QString& path);

// The fit rule.
// Reduction with shrinkOnly: an image larger than the box in either direction
// is reduced keeping its proportions so that its limiting side gets the box's
// length and the other side its proportional length, truncated (at least 1);
// r = max(width / boxWidth, height / boxHeight). An image that fits keeps its
// size and r = 1. The sizes are computed exactly in integers, so a 4:3 photo
// fills 480 x 360 whatever its pixel count.
QSize ShrinkOnlySize(QSize image, QSize box, float* scaleOut = nullptr);
// The thumbnail step's resample size for an image placed on a w x h canvas:
// the height limits when w x height > width x h, else the width, and the image
// is reduced as above. An image not larger than the canvas keeps its size.
QSize ResampleSize(QSize image, QSize canvas);
// Where a picture of this size is drawn on the 480 x 360 editor canvas:
// reduced to 480 wide, then to 360 high, keeping its proportions, and placed
// at ((480 - w) / 2, (360 - h) / 2).
QRect CanvasPlacement(QSize image);

// Decodes and fits into boxWidth x boxHeight. With shrinkOnly an image larger
// than the box is reduced to ShrinkOnlySize and a smaller one is returned as
// it is; without it the result is exactly the box, the image reduced to
// ResampleSize and centred on white (left and top margins half the free space,
// rounded down). Never enlarges. scaleOut gets r (1 when not reduced),
// widthOut/heightOut the decoded (upright) size. A JPEG is decoded at the
// smallest of the decoder's own reductions (1/8, 1/4, 1/2) that is still at
// least the resample size, then resampled bilinearly to exactly that size; a
// PNG is reduced row by row while it decodes; other formats are decoded whole
// and resampled.
QImage LoadFittedBitmap(const QString& path, int boxWidth, int boxHeight, bool shrinkOnly,
                        float* scaleOut = nullptr, int* widthOut = nullptr, int* heightOut = nullptr);

// LoadFittedBitmap(path, 192, 144, shrinkOnly = false). Opaque: transparent
// parts show the white canvas.
QImage LoadThumbnailBitmap(const QString& path);

// The image library's bilinear reduction to exactly `size` (palette pictures
// are resampled in 32 bits).
QImage Resample(const QImage& image, QSize size);

// Saves with the encoder chosen by the path's extension: .jpg/.jpeg/.jpe/.jfif
// JPEG (quality 75), .png PNG, .bmp BMP, .gif GIF (giflib, at most 256
// colours), .tif/.tiff TIFF. False when either argument is missing, the
// extension names no encoder, or the write fails.
bool SaveBitmapToFile(const QString& path, const QImage& bitmap);
// Saves with the named encoder ("jpeg", "png", "bmp", "gif", "tiff"),
// whatever the extension (display copies are PNG data under a ".jpg" name).
// quality is the encoder's quality setting (for PNG it chooses the
// compression: 80 and above compress fast); -1 keeps the default (75 for
// JPEG).
bool SaveBitmapAs(const QString& path, const QImage& bitmap, const QByteArray& format, int quality = -1);

} // namespace ImageOps
