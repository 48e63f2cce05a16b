// Reading an animated GIF into frames, free of widgets: each image of the
// file is cut out as a stand-alone GIF (the header and logical screen with the
// global colour table, the image's graphic control extension, its image block)
// and decoded on its own, with its delay and disposal kept for the animation.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace GifFrames {

constexpr int kMinimumIntervalMs = 100;

struct Frame {
    QByteArray data;  // the stand-alone GIF of this image
    QImage image;     // decoded, logical-screen sized
    QRect area;       // where the image lies on the logical screen
    int delay = 0;    // in hundredths of a second, as stored
    int disposal = 0; // 2: the area goes back to the background afterwards
};

struct Gif {
    QSize screen; // logical screen size
    std::vector<Frame> frames;
};

// The data start with "GIF87a" or "GIF89a".
bool IsGif(const QByteArray& data);

// The images of a GIF, each cut out and decoded. nullopt when the data are no
// GIF, hold no image, or an image does not decode; a file cut short after its
// first image keeps the images read so far.
std::optional<Gif> Read(const QByteArray& data);

// How long a frame stays: delay x 10 ms, but 100 ms for delays of 4 or less
// (short and missing delays would otherwise spin).
int IntervalMs(int delay);

} // namespace GifFrames
