// The saver's window: the smeared, darkened desktop picture with the album
// movie on top. As a preview it is a child of the window it was given; full
// screen it covers the virtual screen, stays on top and ends on input (see
// CScrnSaverEndRules).
#pragma once

#include "screensaver/SaverFiles.h"
#include "screensaver/ScrnSaverEndRules.h"
#include "screensaver/ScrnSaverFlash.h"
#include "screensaver/ShockwaveFlash.h"

#include <QImage>
#include <QWidget>
#include <functional>

class QWindow;

class CScrnSaverWnd : public QWidget {
    Q_OBJECT
public:
    // `programPath` is the saver's own file; it names the movie and the
    // configuration beside it.
    explicit CScrnSaverWnd(const QString& programPath);
    ~CScrnSaverWnd() override;

    // Creates the window: full screen over `area` (virtual-screen coordinates)
    // with the title `name` when `parent` is null, otherwise a child filling
    // `area` inside the foreign window `parent` (the preview). Grabs the
    // desktop picture first, places the movie and shows the window.
    bool Create(const QString& name, const QRect& area, QWindow* parent);

    bool IsPreview() const { return m_preview; }
    const SaverFiles& Files() const { return m_files; }
    QRect MovieRect() const { return m_movieRect; }
    const QImage& BackgroundImage() const { return m_background; }
    CScrnSaverEndRules& Rules() { return m_rules; }
    // The control playing the movie: the preview control in a preview, the
    // full-screen control otherwise; null when it could not be made.
    CMoviePlayer* MovieControl();

    // The check run when closing past the password delay. The desktop locks
    // the screen itself, so the default always passes.
    void SetPasswordCheck(std::function<bool()> check) { m_passwordCheck = std::move(check); }

signals:
    // The saver has stopped its movie and closed; the program ends.
    void Ended();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartFullScreenInput();
    // The ending rules for input to the window or to its full-screen control.
    void HandleInput(QObject* watched, QEvent* event);
    void RequestClose();
    void OnCloseMessage();
    bool CheckPassword();

    SaverFiles m_files;
    QRect m_movieRect;
    QImage m_background;
    CScrnSaverEndRules m_rules;
    std::function<bool()> m_passwordCheck = [] { return true; };
    CShockwaveFlash m_previewFlash;
    CScrnSaverFlash m_fullScreenFlash;
    bool m_preview = false;
    bool m_closing = false;
    bool m_closePosted = false;
    bool m_wasActive = false;
    bool m_cursorHidden = false;
};
