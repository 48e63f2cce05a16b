#include "editor/imaging/GifWriter.h"

#include <QSaveFile>
#include <gif_lib.h>
#include <unordered_map>
#include <vector>

namespace GifWriter {

namespace {

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// Palette indices of every pixel, row by row, and the colours they name.
struct IndexedPicture {
    std::vector<GifByteType> indices;
    GifColorType colours[256] = {};
    int colourCount = 0;
    int transparent = -1;
};

bool FromIndexed(const QImage& image, IndexedPicture& out)
{
    const int count = image.colorCount();
    if (count < 1 || count > 256)
        return false;
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < count; ++i) {
        out.colours[i] = GifColorType{GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])), GifByteType(qBlue(table[i]))};
        if (out.transparent < 0 && qAlpha(table[i]) < 128)
            out.transparent = i;
    }
    out.colourCount = count;
    const int w = image.width();
    out.indices.resize(size_t(w) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < w; ++x)
            out.indices[size_t(y) * size_t(w) + size_t(x)] = line[x] < count ? line[x] : 0;
    }
    return true;
}

bool FromTrueColour(const QImage& image, IndexedPicture& out)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    const size_t pixels = size_t(w) * size_t(h);
    out.indices.assign(pixels, 0);
    bool anyTransparent = false;
    for (int y = 0; y < h && !anyTransparent; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) < 128) {
                anyTransparent = true;
                break;
            }
    }
    const int limit = anyTransparent ? 255 : 256;

    // Few colours: the picture's own, exactly.
    std::unordered_map<QRgb, int> exact;
    bool fits = true;
    for (int y = 0; y < h && fits; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) < 128)
                continue;
            const QRgb rgb = line[x] | 0xFF000000u;
            auto it = exact.find(rgb);
            if (it == exact.end()) {
                if (int(exact.size()) == limit) {
                    fits = false;
                    break;
                }
                const int index = int(exact.size());
                it = exact.emplace(rgb, index).first;
                out.colours[index] = GifColorType{GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)), GifByteType(qBlue(rgb))};
            }
            out.indices[size_t(y) * size_t(w) + size_t(x)] = GifByteType(it->second);
        }
    }
    if (fits) {
        out.colourCount = int(exact.size());
    } else {
        std::vector<GifByteType> red(pixels), green(pixels), blue(pixels);
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const size_t at = size_t(y) * size_t(w) + size_t(x);
                red[at] = GifByteType(qRed(line[x]));
                green[at] = GifByteType(qGreen(line[x]));
                blue[at] = GifByteType(qBlue(line[x]));
            }
        }
        int size = limit;
        if (GifQuantizeBuffer(unsigned(w), unsigned(h), &size, red.data(), green.data(), blue.data(),
                              out.indices.data(), out.colours)
            != GIF_OK)
            return false;
        out.colourCount = limit;
    }
    if (anyTransparent) {
        out.transparent = out.colourCount++;
        out.colours[out.transparent] = GifColorType{0, 0, 0};
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < w; ++x)
                if (qAlpha(line[x]) < 128)
                    out.indices[size_t(y) * size_t(w) + size_t(x)] = GifByteType(out.transparent);
        }
    }
    return true;
}

} // namespace

QByteArray Encode(const QImage& image)
{
    if (image.isNull() || image.width() > 65535 || image.height() > 65535)
        return QByteArray();
    IndexedPicture picture;
    const bool ok = image.format() == QImage::Format_Indexed8 ? FromIndexed(image, picture)
                                                              : FromTrueColour(image, picture);
    if (!ok)
        return QByteArray();
    int mapSize = 2; // a colour map holds a power of two entries
    while (mapSize < picture.colourCount)
        mapSize *= 2;

    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToBuffer, &error);
    if (!gif)
        return QByteArray();
    ColorMapObject* map = GifMakeMapObject(mapSize, picture.colours);
    bool written = map != nullptr;
    EGifSetGifVersion(gif, picture.transparent >= 0);
    written = written && EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) == GIF_OK;
    if (written && picture.transparent >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, picture.transparent};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        written = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
    }
    written = written && EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; written && y < image.height(); ++y)
        written = EGifPutLine(gif, picture.indices.data() + size_t(y) * size_t(image.width()), image.width()) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK)
        written = false;
    if (map)
        GifFreeMapObject(map);
    return written ? bytes : QByteArray();
}

bool Write(const QString& path, const QImage& image)
{
    const QByteArray bytes = Encode(image);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace GifWriter
