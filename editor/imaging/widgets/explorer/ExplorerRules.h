// The photo explore window's rules, free of widgets: which files of a folder
// the explorer list shows and in which order, the thumbnail size a zoom
// position gives and the cell the list derives from it, when the add button is
// enabled, which photos an add command takes, and the delay that makes a run
// of zoom-slider moves resize the thumbnails once.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace ExplorerRules {

constexpr int kZoomMinimum = 0;
constexpr int kZoomMaximum = 100;
constexpr int kZoomDelayMs = 500;
constexpr int kInitialThumbnail = 80; // before the zoom is first applied

// The full paths of the photos of a folder in the order a file manager shows
// them (by name, case-insensitive, digits as numbers); folders, hidden files
// and files that fail the photo test (by extension) are left out. Empty when
// the folder cannot be read.
QStringList PhotosOf(const QString& folder);

// The thumbnail side for a zoom position: (p x 96 + 9600) / 100 in integer
// arithmetic, the position clamped to 0..100 (96 at 0, 144 at 50, 192 at 100).
int ThumbnailSide(int position);

// The explorer list's cell for a thumbnail width: w + 6 wide and
// trunc((w + 6) x 0.75) high, plus the label height when labels are shown.
QSize CellSize(int thumbnailWidth, bool labelsShown, int labelHeight);

// The add button is enabled exactly while the list holds an item.
inline bool AddButtonEnabled(int itemCount) { return itemCount > 0; }

// The items an add command takes: those of `items` (indices) whose thumbnail
// is ready (handleOf gives a non-zero handle), in ascending index order. A
// photo whose thumbnail is not made yet, or cannot be made, is not added.
std::vector<int> PhotosToAdd(std::vector<int> items, const std::function<ThumbHandle(int)>& handleOf);

// The zoom delay: the first slider change starts the delay, later changes
// while it runs do not restart it; when it ends the zoom is applied once with
// the slider's position at that moment. Times are milliseconds of any clock.
class ZoomDelay {
public:
    explicit ZoomDelay(int delayMs = kZoomDelayMs) : m_delay(delayMs) {}

    // A slider change at `now`; true when the delay timer must be started.
    bool Changed(qint64 now);
    // The delay timer fired at `now`; true when the zoom must be applied now
    // (the delay then stops).
    bool Fire(qint64 now);
    bool Running() const { return m_running; }
    // When the running delay ends; -1 when none runs.
    qint64 DueAt() const { return m_running ? m_due : -1; }
    int DelayMs() const { return m_delay; }

private:
    int m_delay;
    bool m_running = false;
    qint64 m_due = 0;
};

} // namespace ExplorerRules
