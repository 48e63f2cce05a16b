#include "GifFrames.h"

namespace GifFrames {

namespace {

int Word(const QByteArray& data, qsizetype at)
{
    return uchar(data[at]) | (uchar(data[at + 1]) << 8);
}

// The end of the data sub-blocks starting at `at` (just past the zero
// terminator), or -1 when the data end first.
qsizetype SkipSubBlocks(const QByteArray& data, qsizetype at)
{
    while (at < data.size()) {
        const int size = uchar(data[at]);
        ++at;
        if (size == 0)
            return at;
        at += size;
    }
    return -1;
}

} // namespace

bool IsGif(const QByteArray& data)
{
    return data.startsWith("GIF87a") || data.startsWith("GIF89a");
}

int IntervalMs(int delay)
{
    return delay <= 4 ? kMinimumIntervalMs : delay * 10;
}

std::optional<Gif> Read(const QByteArray& data)
{
    if (!IsGif(data) || data.size() < 13)
        return std::nullopt;
    Gif gif;
    gif.screen = QSize(Word(data, 6), Word(data, 8));
    const int packed = uchar(data[10]);
    qsizetype at = 13;
    if (packed & 0x80)
        at += 3 * (1 << ((packed & 7) + 1));
    if (at > data.size())
        return std::nullopt;
    const QByteArray head = data.left(at);

    QByteArray control; // the graphic control extension for the next image
    while (at < data.size()) {
        const uchar introducer = uchar(data[at]);
        if (introducer == 0x3B)
            break;
        if (introducer == 0x21) {
            if (at + 2 > data.size())
                break;
            const qsizetype end = SkipSubBlocks(data, at + 2);
            if (end < 0)
                break;
            if (uchar(data[at + 1]) == 0xF9 && end - at >= 8)
                control = data.mid(at, end - at);
            at = end;
            continue;
        }
        if (introducer != 0x2C || at + 10 > data.size())
            break;
        const int imagePacked = uchar(data[at + 9]);
        qsizetype end = at + 10;
        if (imagePacked & 0x80)
            end += 3 * (1 << ((imagePacked & 7) + 1));
        end = end + 1 < data.size() ? SkipSubBlocks(data, end + 1) : -1; // past the LZW code size
        if (end < 0)
            break;
        Frame frame;
        frame.area = QRect(Word(data, at + 1), Word(data, at + 3), Word(data, at + 5), Word(data, at + 7));
        if (!control.isEmpty()) {
            frame.disposal = (uchar(control[3]) >> 2) & 7;
            frame.delay = Word(control, 4);
        }
        frame.data = head + control + data.mid(at, end - at) + char(0x3B);
        frame.image = QImage::fromData(frame.data, "GIF");
        if (frame.image.isNull())
            return std::nullopt;
        gif.frames.push_back(std::move(frame));
        control.clear();
        at = end;
    }
    if (gif.frames.empty())
        return std::nullopt;
    return gif;
}

} // namespace GifFrames
