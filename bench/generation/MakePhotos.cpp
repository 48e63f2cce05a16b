// Writes synthetic photo-like JPEG pictures for the benchmarks: smooth colour
// fields (a few random waves per picture) with film-like grain, so that the
// files decode like camera photos of that size.
//
//   bench_make_photos FOLDER COUNT [WIDTH HEIGHT]
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

namespace {

QImage makePhoto(int index, int width, int height)
{
    std::mt19937 random(uint32_t(index) * 7919u + 17u);
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    struct Wave {
        float fx, fy, phase, amplitude;
    };
    // Brightness from a few broad waves, a mild colour cast per channel.
    auto waves = [&](int n, float frequency, float amplitude) {
        std::vector<Wave> out;
        for (int w = 0; w < n; ++w)
            out.push_back({(unit(random) - 0.5f) * frequency, (unit(random) - 0.5f) * frequency,
                           unit(random) * 6.28f, amplitude * (0.5f + unit(random) * 0.5f)});
        return out;
    };
    const std::vector<Wave> light = waves(5, 5.f, 28.f);
    const std::vector<Wave> cast[3] = {waves(2, 2.f, 18.f), waves(2, 2.f, 18.f), waves(2, 2.f, 18.f)};
    const float base[3] = {90.f + unit(random) * 70.f, 90.f + unit(random) * 70.f, 90.f + unit(random) * 70.f};

    QImage image(width, height, QImage::Format_RGB32);
    uint32_t state = uint32_t(index) * 2654435761u + 1u;
    // The smooth field is computed on a coarse grid and interpolated, the
    // grain per pixel.
    const int step = 16;
    const int gw = width / step + 2, gh = height / step + 2;
    std::vector<float> grid(size_t(gw * gh * 3));
    for (int gy = 0; gy < gh; ++gy)
        for (int gx = 0; gx < gw; ++gx)
            for (int c = 0; c < 3; ++c) {
                float v = base[c];
                const float x = float(gx * step) / float(width), y = float(gy * step) / float(height);
                for (const Wave& w : light)
                    v += w.amplitude * std::sin(w.fx * x * 6.28f + w.fy * y * 6.28f + w.phase);
                for (const Wave& w : cast[c])
                    v += w.amplitude * std::sin(w.fx * x * 6.28f + w.fy * y * 6.28f + w.phase);
                grid[size_t((gy * gw + gx) * 3 + c)] = v;
            }
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int gy = y / step;
        const float ty = float(y % step) / float(step);
        for (int x = 0; x < width; ++x) {
            const int gx = x / step;
            const float tx = float(x % step) / float(step);
            int rgb[3];
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int grain = int(state % 25u) - 12;
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int ix, int iy) { return grid[size_t((iy * gw + ix) * 3 + c)]; };
                const float top = at(gx, gy) * (1 - tx) + at(gx + 1, gy) * tx;
                const float bottom = at(gx, gy + 1) * (1 - tx) + at(gx + 1, gy + 1) * tx;
                rgb[c] = std::clamp(int(top * (1 - ty) + bottom * ty) + grain, 0, 255);
            }
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_make_photos FOLDER COUNT [WIDTH HEIGHT]\n");
        return 2;
    }
    const QString folder = args[1];
    const int count = args[2].toInt();
    const int width = args.size() > 4 ? args[3].toInt() : 4000;
    const int height = args.size() > 4 ? args[4].toInt() : 3000;
    QDir().mkpath(folder);
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    auto work = [&] {
        for (int i; (i = next.fetch_add(1)) < count;) {
            const QString path = QStringLiteral("%1/photo_%2.jpg").arg(folder).arg(i, 3, 10, QLatin1Char('0'));
            if (QFileInfo::exists(path))
                continue;
            QImageWriter writer(path, "jpeg");
            writer.setQuality(90);
            if (!writer.write(makePhoto(i, width, height)))
                failed = true;
        }
    };
    std::thread other(work);
    work();
    other.join();
    return failed ? 1 : 0;
}
