// The project commands: New, Open, Save, Save As and the close step they
// share, and the album library's open, refresh and delete. close() asks
// "Save changes to this Album?" when the album is modified, so New, Open, a
// dropped project, the recent list, the library and closing the window all go
// through one question. Opening a folder always goes through the library: the
// album's entry is found or added, selected and opened. Widget-free: what
// would be a dialog (the question, the file dialogs) is a callback the window
// supplies; tests answer them from a table.
#pragma once

#include "editor/core/AlbumLibrary.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class AlbumModel;
class UserMessages;

class ProjectCommands : public QObject {
    Q_OBJECT
public:
    enum class Answer { Yes, No, Cancel };
    enum class Result { Done, Cancelled };

    struct Prompts {
        // "Save changes to this Album?" with Yes, No and Cancel.
        std::function<Answer(const QString& question)> saveChanges;
        // A project file to open; empty when the user cancels.
        std::function<QString()> openPath;
        // Where to save the album (a path whose name without extension names
        // the project folder), starting in `folder`; empty when cancelled.
        std::function<QString(const QString& folder)> saveAsPath;
        // The folder for a copy of the album; empty when cancelled.
        std::function<QString()> saveCopyPath;
    };

    ProjectCommands(AlbumModel& album, UserMessages& messages, QObject* parent = nullptr);

    void SetPrompts(Prompts prompts) { m_prompts = std::move(prompts); }
    // The folder the save dialog opens in (the "Project Path" setting).
    void SetProjectPath(const QString& folder) { m_projectPath = folder; }

    // The common first step of New, Open, the recent projects and closing
    // the window: asks to save a modified album, then empties it.
    Result Close();
    // Close, then an untitled album.
    Result New();
    // Asks for a project file, closes, opens the album of its folder.
    Result Open();
    // Opens the album in folder F (the project file F/N.qem) through the
    // library: the entry with F's header is selected, or a new one is added
    // (and F to the album history), then opened. False with "%s was not
    // found." when F is gone; a project file that cannot be read gives
    // "载入影集失败" and leaves an empty untitled album (true).
    bool OpenFolder(const QString& folder);
    // Close, then OpenFolder: the dropped project and the recent list.
    Result CloseAndOpen(const QString& folder, bool* opened = nullptr);
    // Save As for an untitled album, else writes into the album's folder.
    Result Save();
    Result SaveAs();
    // Writes a copy of the album into a new folder. A named album keeps its
    // own folder; an untitled one takes the copy's. An existing folder is
    // refused with "该目录已经存在工程文件请修改到其他目录".
    Result SaveCopyAs();

    // The album library (filled from the album history on first use).
    AlbumLibrary& Library();
    // Reads the project file of library entry `index` into the emptied
    // album: named after the file, opened; "载入影集失败" when it cannot be read.
    void OpenLibraryItem(int index);
    // Double-click on a library item: close, then open the item.
    Result CloseAndOpenLibraryItem(int index);
    // Reads the header of the selected library entry again.
    void RefreshSelected();
    // Delete on library items, without a question: each album folder goes to
    // the desktop's trash and leaves the album history and the library; the
    // open album among them is replaced by a new untitled one first.
    void DeleteLibraryItems(const std::vector<int>& indices);

    // The window title: the product title, then " (name)" while an album is
    // named; a new album is named "Untitled".
    QString Title() const { return m_title; }
    static QString TitleFor(const QString& albumName);

signals:
    void TitleChanged(const QString& title);
    // A project was opened, started or closed (the hub's "PrjState").
    void ProjectStateChanged();

private:
    bool saveInto(const QString& folder, bool namedSave);
    void resetToUntitled();
    // Selects the library entry of the album's folder, adding it when
    // missing, and reads its header again.
    void refreshAlbumEntry();
    void setTitle(const QString& albumName);
    void notifyProjectState();

    AlbumModel& m_album;
    UserMessages& m_messages;
    Prompts m_prompts;
    QString m_projectPath;
    QString m_title;
    AlbumLibrary m_library;
};
