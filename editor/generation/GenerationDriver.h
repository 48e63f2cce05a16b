// The folder generation that every output starts from, and the template
// previews. Reads the album without changing it: the final generation runs on
// the generation worker's thread while the user interface waits.
#pragma once

#include "editor/generation/AlbumOutput.h"
#include "editor/generation/FolderAlbumGenerator.h"

#include <QString>
#include <atomic>
#include <functional>
#include <optional>

class AlbumModel;
struct TemplateEntry;

class GenerationDriver {
public:
    // Message icons, numbered like QMessageBox::Icon.
    enum Icon { Information = 1, Warning = 2, Critical = 3 };
    using Message = std::function<void(int icon, const QString& text)>;
    using Progress = std::function<void(int done, int total)>;

    explicit GenerationDriver(const AlbumModel& album);

    void SetMessageHandler(Message message) { m_message = std::move(message); }
    void SetProgress(Progress progress) { m_progress = std::move(progress); }
    // A cancel request stops the export between photos; the album is then
    // left unfinished (no web page) and the generation reports nothing.
    void SetCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }

    // The commands' check: false, after "这个影集没有图片", when the album is empty.
    bool CheckAlbumHasPhotos() const;

    // Generates the folder album into `folder` (D) with the template chosen
    // in the album settings (0 when none is). Nothing when the album is empty
    // (after "制作影集前请选择图片"), when a folder cannot be made, or when a
    // file of the album could not be written; LastError() says why.
    std::optional<AlbumOutput> GenerateFolderAlbum(const QString& folder, bool autoStart);

    // GenerateFolderAlbum as the generation step of packaging and upload. The
    // driver must outlive the function.
    FolderAlbumGenerator AsGenerator();

    // Generates the preview of template `templateIndex` into its slot's
    // temporary folder (made on first use) and returns the slot's output.
    // Nothing for an index without a slot.
    std::optional<AlbumOutput> GeneratePreview(int templateIndex, const QString& moviePath,
                                               const QString& configurationPath);

    const QString& LastError() const { return m_error; }
    bool Cancelled() const { return m_cancelled; }

private:
    bool fail(const QString& error);
    void copyMusic(const AlbumOutput& output, const TemplateEntry& entry);
    bool writeConfigurationAndPhotos(const TemplateEntry& entry, const AlbumOutput& output, bool preview,
                                     bool autoStart);

    const AlbumModel& m_album;
    Message m_message;
    Progress m_progress;
    const std::atomic<bool>* m_cancel = nullptr;
    QString m_error;
    bool m_cancelled = false;
};
