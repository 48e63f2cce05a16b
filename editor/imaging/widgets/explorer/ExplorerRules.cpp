#include "ExplorerRules.h"

#include "common/ShellOrder.h"
#include "editor/imaging/ImageOps.h"

#include <algorithm>

namespace ExplorerRules {

QStringList PhotosOf(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QStringList photos;
    for (const QString& name : ShellOrder::PlainFiles(folder))
        if (ImageOps::IsPhotoFile(name))
            photos << prefix + name;
    return photos;
}

int ThumbnailSide(int position)
{
    const int p = std::clamp(position, kZoomMinimum, kZoomMaximum);
    return (p * 96 + 9600) / 100;
}

QSize CellSize(int thumbnailWidth, bool labelsShown, int labelHeight)
{
    const int width = thumbnailWidth + 6;
    // trunc((w + 6) x 0.75) in integers: exact for every width.
    return QSize(width, width * 3 / 4 + (labelsShown ? labelHeight : 0));
}

std::vector<int> PhotosToAdd(std::vector<int> items, const std::function<ThumbHandle(int)>& handleOf)
{
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    std::erase_if(items, [&handleOf](int index) { return handleOf(index) == 0; });
    return items;
}

bool ZoomDelay::Changed(qint64 now)
{
    if (m_running)
        return false;
    m_running = true;
    m_due = now + m_delay;
    return true;
}

bool ZoomDelay::Fire(qint64 now)
{
    if (!m_running || now < m_due)
        return false;
    m_running = false;
    return true;
}

} // namespace ExplorerRules
