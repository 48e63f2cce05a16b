// The player's window: unpacks the album appended to the program's own file,
// plays its movie fitted into the window and removes the unpacked files when
// it goes. Without an album it stays an empty black window.
#pragma once

#include "player/ShockwaveFlash1.h"

#include <QDialog>
#include <QIcon>
#include <QStringList>
#include <memory>

class QMenu;

class CQemPlayerDlg : public QDialog {
    Q_OBJECT
public:
    // `ownPath` is the program's own file, which may carry an album.
    explicit CQemPlayerDlg(const QString& ownPath, QWidget* parent = nullptr);
    // Removes the extraction folders (photo, res, thumbs, root).
    ~CQemPlayerDlg() override;

    // False when the movie control could not be made: the window is unusable
    // and the program ends without unpacking anything.
    bool HasControl() const { return m_flash.IsCreated(); }
    CShockwaveflash1& Flash() { return m_flash; }
    const QStringList& ExtractionFolders() const { return m_folders; }
    QString MoviePath() const { return m_moviePath; }
    // Where the movie sits in the client area (the fitting rule).
    QRect MovieGeometry() const;
    qint64 UnpackMilliseconds() const { return m_unpackMs; }
    // The menu holding "&About Kelvana Player..." (shown on a right click).
    QMenu* WindowMenu() const { return m_menu; }

public slots:
    void ShowAbout();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void UnpackAndLoad(const QString& ownPath);
    void FitMovie();

    CShockwaveflash1 m_flash;
    QStringList m_folders;
    QString m_moviePath;
    QIcon m_icon;
    QMenu* m_menu = nullptr;
    qint64 m_unpackMs = 0;
};
