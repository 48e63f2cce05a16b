// The photo editor view's display copies: per photo path, the photo fitted
// into the 480 x 360 editor canvas and saved once to a temporary file, so that
// showing the photo again needs no decoding of the full picture. A display
// copy is PNG data under a "~tmpN.jpg" name; readers detect the format from
// the content. Exported photos are made from the display copies.
//
// Also keeps what the view shows: the current path and the shown picture.
// Drawing is the view's business; this class is free of widgets. The
// generation worker asks for display records from its own thread, so every
// operation is guarded by a lock.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <map>
#include <mutex>
#include <optional>

struct DisplayRecord {
    float scale = 1;  // decoded size / shown size; 1 when not reduced
    QString copyPath; // the display copy file
    int width = 0;    // decoded size of the photo
    int height = 0;
};

class DisplayCopies : public QObject {
    Q_OBJECT
public:
    DisplayCopies();
    ~DisplayCopies() override; // deletes every display copy file
    static DisplayCopies& Instance();

    // Fits the photo into the canvas and saves it as a new display copy, entered
    // for the path (a path that got a record meanwhile keeps it). With show, the
    // picture becomes the shown one. False when the photo cannot be decoded or
    // the copy cannot be written.
    bool MakeDisplayCopy(const QString& path, bool show);
    // With makeCurrent the path becomes the current one. Without show the shown
    // picture is dropped and nothing else happens. Otherwise the path's display
    // copy (made when missing) becomes the shown picture (none when the photo
    // cannot be decoded), then PhotoChanged.
    void ShowPath(const QString& path, bool show, bool makeCurrent);
    // After a pixel edit: the path becomes current, the picture is fitted
    // again, shown, and written over the path's display copy (a new copy when
    // the path has none; a known path keeps its first scale and size), then
    // PhotoChanged.
    void ReloadPath(const QString& path);
    // Shows the picture in place of the current one without touching any
    // display copy or the current path (a slider's live preview); the next
    // ShowPath or ReloadPath replaces it. Then ViewChanged.
    void ShowPreview(const QImage& picture);
    // The path's record, making the display copy (not shown) when there is
    // none; nullopt when the photo cannot be decoded.
    std::optional<DisplayRecord> DisplayRecordOf(const QString& path);
    // Deletes the path's display copy file and its record.
    void ForgetDisplayCopy(const QString& path);
    // Deletes every display copy file, drops the shown picture, empties the map
    // and the current path. When the album becomes empty or is cleared.
    void ClearView();

    QImage ShownPicture() const;
    // The shown picture when it is the path's photo fitted to the canvas, as
    // ShowPath or ReloadPath put it there (no preview replaces it); null
    // otherwise. A slider's first preview starts from it instead of decoding
    // the photo again.
    QImage ShownPhotoOf(const QString& path) const;
    QString CurrentPath() const;
    int Count() const;

signals:
    void ViewChanged();  // the shown picture changed: the view repaints
    void PhotoChanged(); // ShowPath or ReloadPath showed a photo

private:
    void DeleteAll();

    mutable std::mutex m_mutex;
    std::map<QByteArray, DisplayRecord> m_records; // by the path's UTF-8 bytes
    QImage m_shown;
    QString m_shownPath; // whose photo m_shown is; empty for a preview or nothing
    QString m_current;
};
