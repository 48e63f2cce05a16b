// Making a folder of numbered test photos on two threads, for the benchmarks.
// Photos already there are kept, so a folder is made once; each photo is
// written under a temporary name and renamed, so a stopped run leaves no
// half-written photo behind.
#pragma once

#include "common/ShellOrder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>

namespace BenchPhotos {

// Photos 1..count at pathOf(i), drawn by picture(i), saved as JPEG of the
// given quality. Prints how many were made. Returns 0 (the exit status).
inline int Make(const QString& folder, int count, const std::function<QString(int)>& pathOf,
                const std::function<QImage(int)>& picture, int quality)
{
    QDir().mkpath(folder);
    std::atomic<int> next{1};
    std::atomic<int> made{0};
    const auto work = [&] {
        for (int i = next++; i <= count; i = next++) {
            const QString path = pathOf(i);
            if (QFile::exists(path))
                continue;
            const QString partial = path + QStringLiteral(".part");
            if (picture(i).save(partial, "jpeg", quality) && QFile::rename(partial, path))
                ++made;
        }
    };
    std::thread second(work);
    work();
    second.join();
    std::printf("made=%d folder=%s\n", made.load(), qPrintable(folder));
    return 0;
}

// The folder's photos as full paths, in the order a file manager shows them.
inline QStringList Listing(const QString& folder)
{
    QStringList paths;
    for (const QString& name : ShellOrder::PlainFiles(folder))
        paths << folder + QLatin1Char('/') + name;
    return paths;
}

} // namespace BenchPhotos
