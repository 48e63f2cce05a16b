// The splash window shown while the editor starts: a frameless tool window
// exactly the size of its picture, centred on its owner (or on the screen
// without one). At most one exists; a null picture shows none.
#pragma once

#include <QPixmap>
#include <QWidget>

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    // Shows the splash unless one is shown already or the picture is null;
    // true when this call showed it.
    static bool Show(const QPixmap& picture, QWidget* owner = nullptr);
    // Destroys the splash, if any, and repaints its owner at once.
    static void Close();
    // The splash on screen, or null.
    static CSplashWnd* Current();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CSplashWnd(const QPixmap& picture, QWidget* owner);

    QPixmap m_picture;
};
