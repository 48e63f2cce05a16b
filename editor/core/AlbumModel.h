// The album being edited: the photo sequence, its settings and the project
// state. An album photo is the pair (PhotoItem, LrItem) at the same index: the
// storyboard shows the PhotoItems, the transition strip the LrItems. This model
// keeps both lists in step; the widgets observe it through its signals.
#pragma once

#include "editor/core/Caption.h"
#include "editor/imaging/ThumbnailRegistry.h"

#include <QImage>
#include <QObject>
#include <memory>
#include <random>
#include <vector>

class EffectCatalogue;

// One item of a thumbnail list; album photos are storyboard items.
struct PhotoItem {
    QString label;             // the file name
    ThumbHandle thumbnail = 0; // identifies the photo; leads to its current file
};

// One album photo's record in the transition strip.
struct LrItem {
    enum CellState { Normal = 0, Current = 1, DropTarget = 2, InsertBefore = 4, InsertAfter = 5 };

    PhotoItem* photo = nullptr; // the storyboard item of this photo; not owned
    int photoState = Normal;
    int effect = 0;             // transition from this photo to the next (the last leads back to the first)
    QImage effectPicture;       // copied from the catalogue entry
    std::unique_ptr<Caption> caption; // null while the photo has no caption
    int effectState = Normal;
    int brightness = 0;         // slider positions last applied
    int contrast = 0;
};

struct AlbumSettings {
    int templateIndex = -1;             // -1 while nothing is selected
    QString music = QStringLiteral("Default"); // "None", "Default" or an mp3 path
    int stayTime = 2;                   // seconds, 1 to 9

    bool HasNoMusic() const { return music.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0; }
};

struct ProjectState {
    QString folder;      // without a trailing "/"; empty while never saved
    bool opened = false;
    bool modified = false;
    bool untitled = false;

    // New and Close: folder empty, all flags 0, then untitled.
    void ResetToUntitled() { *this = ProjectState{QString(), false, false, true}; }
};

class AlbumModel : public QObject {
    Q_OBJECT
public:
    AlbumModel(ThumbnailRegistry& thumbnails, const EffectCatalogue& effects, QObject* parent = nullptr);
    ~AlbumModel() override;

    // The editor's album; set by whoever creates it (the application, a batch
    // run, a test).
    static AlbumModel* Instance();
    static void SetInstance(AlbumModel* album);

    int Count() const { return int(m_strip.size()); }
    bool IsEmpty() const { return m_strip.empty(); }
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }

    // Adds the photo file at position (appended when position is outside
    // 0..count): the thumbnail handle comes from the cache, one reference is
    // taken, and the transition is chosen at random. Returns the index, or -1
    // when the file has no thumbnail (it cannot be decoded).
    int AddPhoto(const QString& path, int position = -1);
    // The same for a photo whose thumbnail handle is known.
    int InsertPhoto(ThumbHandle handle, const QString& label, int position = -1);
    // Appends a photo with a given effect and caption (the project reader).
    int AppendPhoto(ThumbHandle handle, const QString& label, int effect, std::unique_ptr<Caption> caption);

    int IndexOf(const PhotoItem* item) const;
    // Does nothing for an index outside 0..count-1.
    void RemovePhoto(int index);
    void Clear();

    // The storyboard was reordered: it now shows its items in `order` (a
    // permutation of the album's items). The strip follows by swapping.
    void ReorderFromStoryboard(const std::vector<PhotoItem*>& order);
    // The strip was reordered: the storyboard is refilled in strip order.
    void ReorderFromStrip();
    // Strip edits (each followed by ReorderFromStrip).
    void ExchangePhotos(int a, int b);      // whole records
    void ExchangeTransitions(int a, int b); // effect, effect picture and effect cell state
    void MovePhoto(int from, int to);       // `to` is the index the photo ends at

    // The records of the photo at index; for an index outside 0..count-1 an
    // empty record (no label, thumbnail handle 0, no caption) shared by all
    // such calls, so that a stale index never ends the program.
    const PhotoItem* Photo(int index) const;
    const LrItem& Item(int index) const;
    // Storyboard items in storyboard order.
    std::vector<const PhotoItem*> StoryboardOrder() const;

    void SetEffect(int index, int effect);
    void SetEffectForAll(int effect);
    // The effect of the transition leading into slide `index` (the previous photo's).
    int EffectLeadingInto(int index) const;

    // The photo's caption, created on demand; null for an index outside 0..count-1.
    Caption* CaptionOf(int index);
    void SetCaptionContent(int index, const CaptionBox& box, const QStringList& lines, uint32_t colour, int size,
                           const QString& font);
    void SetCaptionUrl(int index, const QString& url);

    void SetAdjustments(int index, int brightness, int contrast);
    void SetCellStates(int index, int photoState, int effectState);
    // Gives the photo another thumbnail handle (its working copy or back its
    // source); references are the caller's business.
    void SetThumbnail(int index, ThumbHandle handle);

    // The photo's current file, found through its thumbnail handle.
    QString PathOf(int index) const;
    // The photo editor's display copy of that file (DisplayCopies), made on
    // demand; the file itself when no display copy can be made of it; empty
    // when the cache does not know the photo's handle.
    QString DisplayPathOf(int index) const;

    int CurrentIndex() const { return m_current; }
    void SetCurrentIndex(int index) { m_current = index; }

    const AlbumSettings& Settings() const { return m_settings; }
    void SetTemplateIndex(int index);
    void SetStayTime(int seconds);
    void SetMusic(const QString& music);

    const ProjectState& Project() const { return m_project; }
    void SetProjectFolder(const QString& folder);
    void SetOpened(bool opened);
    void SetModified(bool modified);
    void SetUntitled(bool untitled);
    void ResetProject(); // New and Close

    ThumbnailRegistry& Thumbnails() const { return m_thumbnails; }
    const EffectCatalogue& Effects() const { return m_effects; }

    // The generator for the effect of an added photo; unseeded runs give the
    // same sequence every time.
    void SeedRandom(uint32_t seed) { m_random.seed(seed); }
    int RandomEffect();

signals:
    void PhotoInserted(int index);
    void PhotoRemoved(int index);
    void Reordered();
    void Cleared();
    void BecameEmpty();          // the editor's display copies can go
    void EffectChanged(int index);
    void CaptionChanged(int index);
    void ThumbnailChanged(int index);
    void ModifiedChanged(bool modified);
    void SettingsChanged();
    void ProjectChanged();

private:
    void insertPair(std::unique_ptr<PhotoItem> photo, LrItem item, int position);
    void markModified() { SetModified(true); }

    ThumbnailRegistry& m_thumbnails;
    const EffectCatalogue& m_effects;
    std::vector<std::unique_ptr<PhotoItem>> m_storyboard;
    std::vector<LrItem> m_strip;
    int m_current = -1;
    AlbumSettings m_settings;
    ProjectState m_project;
    std::minstd_rand m_random;
};
