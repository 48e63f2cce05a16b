#include "editor/core/AlbumModel.h"

#include "common/FileUtils.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/imaging/DisplayCopies.h"

#include <algorithm>

namespace {
AlbumModel* g_album = nullptr;
}

AlbumModel::AlbumModel(ThumbnailRegistry& thumbnails, const EffectCatalogue& effects, QObject* parent)
    : QObject(parent), m_thumbnails(thumbnails), m_effects(effects)
{
}

AlbumModel::~AlbumModel()
{
    if (g_album == this)
        g_album = nullptr;
}

AlbumModel* AlbumModel::Instance() { return g_album; }
void AlbumModel::SetInstance(AlbumModel* album) { g_album = album; }

int AlbumModel::RandomEffect()
{
    const int count = m_effects.Count();
    if (count <= 0)
        return 0;
    return int(m_random() % uint32_t(count));
}

void AlbumModel::insertPair(std::unique_ptr<PhotoItem> photo, LrItem item, int position)
{
    if (position < 0 || position > Count())
        position = Count();
    item.photo = photo.get();
    m_storyboard.insert(m_storyboard.begin() + position, std::move(photo));
    m_strip.insert(m_strip.begin() + position, std::move(item));
    if (m_current >= position)
        ++m_current;
    emit PhotoInserted(position);
}

int AlbumModel::AddPhoto(const QString& path, int position)
{
    // Found and referenced in one step, so that a folder switch of the
    // thumbnail workers cannot drop the thumbnail before the album holds it.
    const ThumbHandle handle = m_thumbnails.AcquirePhoto(path);
    if (handle == 0)
        return -1;
    const int at = InsertPhoto(handle, FileUtils::LastComponent(path), position);
    m_thumbnails.ReleaseReference(handle); // the album took its own
    return at;
}

int AlbumModel::InsertPhoto(ThumbHandle handle, const QString& label, int position)
{
    if (handle == 0)
        return -1;
    m_thumbnails.AddReference(handle);
    auto photo = std::make_unique<PhotoItem>(PhotoItem{label, handle});
    LrItem item;
    item.effect = RandomEffect();
    if (m_effects.IsValidIndex(item.effect))
        item.effectPicture = m_effects.Entry(item.effect).picture;
    if (position < 0 || position > Count())
        position = Count();
    insertPair(std::move(photo), std::move(item), position);
    markModified();
    return position;
}

int AlbumModel::AppendPhoto(ThumbHandle handle, const QString& label, int effect, std::unique_ptr<Caption> caption)
{
    if (handle == 0)
        return -1;
    m_thumbnails.AddReference(handle);
    auto photo = std::make_unique<PhotoItem>(PhotoItem{label, handle});
    LrItem item;
    item.effect = m_effects.IsValidIndex(effect) ? effect : RandomEffect();
    if (m_effects.IsValidIndex(item.effect))
        item.effectPicture = m_effects.Entry(item.effect).picture;
    item.caption = std::move(caption);
    const int position = Count();
    insertPair(std::move(photo), std::move(item), position);
    return position;
}

int AlbumModel::IndexOf(const PhotoItem* item) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_strip[size_t(i)].photo == item)
            return i;
    return -1;
}

void AlbumModel::RemovePhoto(int index)
{
    if (!IsValidIndex(index))
        return;
    const ThumbHandle handle = m_storyboard[size_t(index)]->thumbnail;
    m_strip.erase(m_strip.begin() + index); // frees the caption
    if (m_current > index)
        --m_current;
    else if (m_current == index)
        m_current = -1;
    m_storyboard.erase(m_storyboard.begin() + index);
    m_thumbnails.ReleaseReference(handle);
    emit PhotoRemoved(index);
    if (m_strip.empty())
        emit BecameEmpty();
    markModified();
}

void AlbumModel::Clear()
{
    const bool hadPhotos = !m_strip.empty();
    std::vector<ThumbHandle> handles;
    for (const auto& photo : m_storyboard)
        handles.push_back(photo->thumbnail);
    m_strip.clear();
    m_storyboard.clear();
    m_current = -1;
    for (ThumbHandle handle : handles)
        m_thumbnails.ReleaseReference(handle);
    emit Cleared();
    if (hadPhotos)
        emit BecameEmpty();
}

std::vector<const PhotoItem*> AlbumModel::StoryboardOrder() const
{
    std::vector<const PhotoItem*> order;
    for (const auto& photo : m_storyboard)
        order.push_back(photo.get());
    return order;
}

void AlbumModel::ReorderFromStoryboard(const std::vector<PhotoItem*>& order)
{
    // Only a permutation of the album's own items is taken.
    std::vector<const PhotoItem*> wanted(order.begin(), order.end());
    std::vector<const PhotoItem*> current = StoryboardOrder();
    std::sort(wanted.begin(), wanted.end());
    std::sort(current.begin(), current.end());
    if (wanted != current)
        return;
    for (size_t i = 0; i < order.size(); ++i) {
        auto it = std::find_if(m_storyboard.begin() + long(i), m_storyboard.end(),
                               [&](const std::unique_ptr<PhotoItem>& p) { return p.get() == order[i]; });
        std::iter_swap(m_storyboard.begin() + long(i), it);
    }
    // Each strip record moves, by swapping, to the position of its photo.
    for (size_t i = 0; i < m_storyboard.size(); ++i) {
        for (size_t j = i; j < m_strip.size(); ++j) {
            if (m_strip[j].photo == m_storyboard[i].get()) {
                if (j != i)
                    std::swap(m_strip[i], m_strip[j]);
                break;
            }
        }
    }
    emit Reordered();
    markModified();
}

void AlbumModel::ReorderFromStrip()
{
    std::vector<std::unique_ptr<PhotoItem>> rebuilt;
    rebuilt.reserve(m_strip.size());
    for (const LrItem& item : m_strip) {
        auto it = std::find_if(m_storyboard.begin(), m_storyboard.end(),
                               [&item](const std::unique_ptr<PhotoItem>& p) { return p && p.get() == item.photo; });
        rebuilt.push_back(std::move(*it));
    }
    m_storyboard = std::move(rebuilt);
    emit Reordered();
    markModified();
}

void AlbumModel::ExchangePhotos(int a, int b)
{
    if (!IsValidIndex(a) || !IsValidIndex(b) || a == b)
        return;
    std::swap(m_strip[size_t(a)], m_strip[size_t(b)]);
    ReorderFromStrip();
}

void AlbumModel::ExchangeTransitions(int a, int b)
{
    if (!IsValidIndex(a) || !IsValidIndex(b) || a == b)
        return;
    LrItem& x = m_strip[size_t(a)];
    LrItem& y = m_strip[size_t(b)];
    std::swap(x.effect, y.effect);
    std::swap(x.effectPicture, y.effectPicture);
    std::swap(x.effectState, y.effectState);
    emit EffectChanged(a);
    emit EffectChanged(b);
    markModified();
}

void AlbumModel::MovePhoto(int from, int to)
{
    if (!IsValidIndex(from) || !IsValidIndex(to) || from == to)
        return;
    if (from < to)
        std::rotate(m_strip.begin() + from, m_strip.begin() + from + 1, m_strip.begin() + to + 1);
    else
        std::rotate(m_strip.begin() + to, m_strip.begin() + from, m_strip.begin() + from + 1);
    ReorderFromStrip();
}

void AlbumModel::SetEffect(int index, int effect)
{
    if (!IsValidIndex(index) || !m_effects.IsValidIndex(effect))
        return;
    LrItem& item = m_strip[size_t(index)];
    item.effect = effect;
    item.effectPicture = m_effects.Entry(effect).picture;
    emit EffectChanged(index);
    markModified();
}

void AlbumModel::SetEffectForAll(int effect)
{
    for (int i = 0; i < Count(); ++i)
        SetEffect(i, effect);
}

int AlbumModel::EffectLeadingInto(int index) const
{
    if (!IsValidIndex(index))
        return -1;
    const int previous = index == 0 ? Count() - 1 : index - 1;
    return m_strip[size_t(previous)].effect;
}

const PhotoItem* AlbumModel::Photo(int index) const
{
    static const PhotoItem none;
    return IsValidIndex(index) ? m_storyboard[size_t(index)].get() : &none;
}

const LrItem& AlbumModel::Item(int index) const
{
    static const LrItem none;
    return IsValidIndex(index) ? m_strip[size_t(index)] : none;
}

Caption* AlbumModel::CaptionOf(int index)
{
    if (!IsValidIndex(index))
        return nullptr;
    LrItem& item = m_strip[size_t(index)];
    if (!item.caption)
        item.caption = std::make_unique<Caption>();
    return item.caption.get();
}

void AlbumModel::SetCaptionContent(int index, const CaptionBox& box, const QStringList& lines, uint32_t colour,
                                   int size, const QString& font)
{
    if (!IsValidIndex(index))
        return;
    Caption& caption = *CaptionOf(index);
    caption.box = box;
    caption.lines = lines;
    caption.colour = colour;
    caption.size = size;
    caption.font = font;
    caption.state = Caption::StateFor(lines);
    emit CaptionChanged(index);
    markModified();
}

void AlbumModel::SetCaptionUrl(int index, const QString& url)
{
    if (!IsValidIndex(index))
        return;
    CaptionOf(index)->url = url;
    emit CaptionChanged(index);
    markModified();
}

void AlbumModel::SetAdjustments(int index, int brightness, int contrast)
{
    if (!IsValidIndex(index))
        return;
    m_strip[size_t(index)].brightness = brightness;
    m_strip[size_t(index)].contrast = contrast;
}

void AlbumModel::SetCellStates(int index, int photoState, int effectState)
{
    if (!IsValidIndex(index))
        return;
    m_strip[size_t(index)].photoState = photoState;
    m_strip[size_t(index)].effectState = effectState;
}

void AlbumModel::SetThumbnail(int index, ThumbHandle handle)
{
    if (!IsValidIndex(index))
        return;
    m_storyboard[size_t(index)]->thumbnail = handle;
    emit ThumbnailChanged(index);
}

QString AlbumModel::PathOf(int index) const
{
    if (!IsValidIndex(index) || !m_strip[size_t(index)].photo)
        return QString();
    return m_thumbnails.PathOf(m_strip[size_t(index)].photo->thumbnail);
}

QString AlbumModel::DisplayPathOf(int index) const
{
    const QString path = PathOf(index);
    if (path.isEmpty())
        return path;
    const std::optional<DisplayRecord> record = DisplayCopies::Instance().DisplayRecordOf(path);
    return record ? record->copyPath : path;
}

void AlbumModel::SetTemplateIndex(int index)
{
    m_settings.templateIndex = index;
    emit SettingsChanged();
}

void AlbumModel::SetStayTime(int seconds)
{
    m_settings.stayTime = std::clamp(seconds, 1, 9);
    emit SettingsChanged();
}

void AlbumModel::SetMusic(const QString& music)
{
    m_settings.music = music;
    emit SettingsChanged();
}

void AlbumModel::SetProjectFolder(const QString& folder)
{
    m_project.folder = folder;
    emit ProjectChanged();
}

void AlbumModel::SetOpened(bool opened)
{
    m_project.opened = opened;
    emit ProjectChanged();
}

void AlbumModel::SetModified(bool modified)
{
    if (m_project.modified == modified)
        return;
    m_project.modified = modified;
    emit ModifiedChanged(modified);
    emit ProjectChanged();
}

void AlbumModel::SetUntitled(bool untitled)
{
    m_project.untitled = untitled;
    emit ProjectChanged();
}

void AlbumModel::ResetProject()
{
    const bool wasModified = m_project.modified;
    m_project.ResetToUntitled();
    if (wasModified)
        emit ModifiedChanged(false);
    emit ProjectChanged();
}
