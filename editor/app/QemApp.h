// The program's start-up and shutdown: single instance, the movie player
// check, the catalogues, the settings, the notification hub, the history lists,
// the main window and the project named on the command line.
#pragma once

#include "editor/app/MessageBoxMessages.h"
#include "editor/core/EditorSettings.h"

#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

class EditorContext;

class CqemApp : public QObject {
    Q_OBJECT
public:
    explicit CqemApp(QObject* parent = nullptr);
    ~CqemApp() override;

    static CqemApp* Instance();

    // Runs the start-up steps in order. False ends the program; ExitCode()
    // then says with which status (0 for a second instance, which ends
    // silently; 1 when the single-instance lock cannot be made, after saying so).
    bool InitInstance();
    // Writes the settings, destroys the hub, saves the history lists and
    // deletes the working copies.
    void ExitInstance();
    int ExitCode() const { return m_exitCode; }

    // The folder that holds the program and its Sources folder.
    QString AppDir() const;
    void SetAppDir(const QString& dir) { m_appDir = dir; }

    EditorSettings& Settings() { return m_settings; }
    QWidget* MainWindow() const { return m_mainWindow; }
    // The running editor's context; null before start-up made it.
    EditorContext* Context() const { return m_context.get(); }

    // Where the editor's messages go: message boxes over the main window
    // unless another presenter is set (which must outlive this object).
    UserMessages& Messages() { return m_messages ? *m_messages : m_boxes; }
    void SetMessages(UserMessages* messages) { m_messages = messages; }

    // The name of the single-instance lock file.
    static QString LockFilePath();

    // The command-line project: the text after the program name without
    // surrounding double quotes, when it names an existing file longer than
    // four characters ending in ".qem" (any case); empty otherwise.
    static QString ProjectArgument(const QStringList& arguments);

protected:
    // The main window over the editor's context.
    virtual QWidget* CreateMainWindow();
    // Opens the album of the project folder into the editor's album: false
    // (after "%s was not found.") when the folder is gone or there is no
    // context yet; a project file that cannot be read shows string 113 and
    // leaves an empty untitled album.
    virtual bool OpenFolder(const QString& folder);
    // Starts a new album.
    virtual void NewAlbum();

private:
    bool checkMoviePlayer();
    void reportLockFailure(int error); // a QLockFile::LockError

    std::unique_ptr<QLockFile> m_lock;
    EditorSettings m_settings;
    std::unique_ptr<EditorContext> m_context;
    QPointer<QWidget> m_mainWindow;
    MessageBoxMessages m_boxes;
    UserMessages* m_messages = nullptr;
    QString m_appDir;
    int m_exitCode = 0;
    bool m_started = false;
};
