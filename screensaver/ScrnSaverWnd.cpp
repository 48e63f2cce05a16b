#include "screensaver/ScrnSaverWnd.h"

#include "screensaver/DesktopGrab.h"
#include "screensaver/DesktopSmear.h"
#include "screensaver/ForeignWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace {
qint64 nowMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock.elapsed();
}
} // namespace

CScrnSaverWnd::CScrnSaverWnd(const QString& programPath) : m_files(SaverFiles::ForProgram(programPath))
{
    setAttribute(Qt::WA_DeleteOnClose);   // the window object goes with its window
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers everything: no separate erase
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
}

CScrnSaverWnd::~CScrnSaverWnd()
{
    // The controls go first, while the window can still hear of their input.
    m_fullScreenFlash.inputHook = nullptr;
    m_fullScreenFlash.DestroyWindow();
    m_previewFlash.DestroyWindow();
    if (m_cursorHidden)
        QGuiApplication::restoreOverrideCursor();
}

bool CScrnSaverWnd::Create(const QString& name, const QRect& area, QWindow* parent)
{
    m_preview = parent != nullptr;
    if (!name.isEmpty())
        setWindowTitle(name);
    const QPoint desktopOrigin = DesktopGrab::VirtualScreen().topLeft();
    m_background = DesktopSmear::Background(DesktopGrab::Grab(QRect(m_preview ? desktopOrigin : area.topLeft(),
                                                                    area.size())));

    m_movieRect = SaverFiles::MovieRect(area.size(), SaverFiles::ReadMovieSize(m_files.configuration));
    // A missing movie leaves the darkened desktop picture: its control stays
    // hidden rather than showing an empty black page.
    const bool visible = QFileInfo(m_files.movie).isFile();

    if (m_preview) {
        // The control comes before the native window: a web view added later
        // makes Qt remake the window for its kind of drawing, and the remade
        // window would no longer sit inside the foreign one.
        if (m_previewFlash.Create(QString(), visible, m_movieRect, this, 1)) {
            m_previewFlash.SetMovie(QStringLiteral("0"));
            m_previewFlash.SetMovie(m_files.movie);
        }
        setAttribute(Qt::WA_NativeWindow);
        setWindowFlags(Qt::FramelessWindowHint);
        winId();
        if (!windowHandle())
            return false;
        windowHandle()->setParent(parent);
        setGeometry(area);
        // The preview lives as long as the window it draws into.
        auto* watch = new QTimer(this);
        connect(watch, &QTimer::timeout, this, [this, id = parent->winId()] {
            if (!ForeignWindow::Exists(id))
                emit Ended();
        });
        watch->start(500);
    } else {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setGeometry(area);
        // The full-screen control hands its input to the ending rules.
        if (m_fullScreenFlash.Create(QString(), visible, m_movieRect, this, 1)) {
            m_fullScreenFlash.inputHook = [this](QObject* watched, QEvent* event) {
                HandleInput(watched, event);
                return false; // the movie still sees the input
            };
        }
        StartFullScreenInput();
        if (m_fullScreenFlash.IsCreated()) {
            m_fullScreenFlash.SetMovie(QStringLiteral("0"));
            m_fullScreenFlash.SetMovie(m_files.movie);
        }
        if (m_fullScreenFlash.IsCreated() && visible)
            m_fullScreenFlash.Window()->setFocus();
        else
            setFocus();
    }
    show();
    if (!m_preview) {
        raise();
        activateWindow();
    }
    return true;
}

CMoviePlayer* CScrnSaverWnd::MovieControl()
{
    CMoviePlayer* control = m_preview ? static_cast<CMoviePlayer*>(&m_previewFlash) : &m_fullScreenFlash;
    return control->IsCreated() ? control : nullptr;
}

void CScrnSaverWnd::StartFullScreenInput()
{
    m_rules.Start(QCursor::pos(), nowMs(), CScrnSaverEndRules::LoadSettings());
    // The cursor is hidden over the whole saver, the movie included (the web
    // view sets cursors of its own).
    if (!m_cursorHidden) {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        m_cursorHidden = true;
    }
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    installEventFilter(this);
}

void CScrnSaverWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}

bool CScrnSaverWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this)
        HandleInput(watched, event);
    // Every event then takes its normal course.
    return QWidget::eventFilter(watched, event);
}

void CScrnSaverWnd::HandleInput(QObject* watched, QEvent* event)
{
    if (m_preview || m_closing)
        return;
    bool ends = false;
    switch (event->type()) {
    case QEvent::MouseMove:
        ends = m_rules.MouseMoveEnds(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::MouseButtonPress: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        ends = (button == Qt::LeftButton || button == Qt::MiddleButton || button == Qt::RightButton)
               && m_rules.InputEnds();
        break;
    }
    case QEvent::Wheel:
    case QEvent::KeyPress:
        ends = m_rules.InputEnds();
        break;
    case QEvent::WindowActivate:
        if (watched == this)
            m_wasActive = true;
        break;
    case QEvent::WindowDeactivate:
        ends = watched == this && m_wasActive && m_rules.InputEnds();
        break;
    default:
        break;
    }
    if (ends)
        RequestClose();
}

void CScrnSaverWnd::RequestClose()
{
    m_rules.RequestClose();
    if (m_closePosted)
        return;
    m_closePosted = true;
    QMetaObject::invokeMethod(this, [this] { OnCloseMessage(); }, Qt::QueuedConnection);
}

void CScrnSaverWnd::OnCloseMessage()
{
    m_closePosted = false;
    switch (m_rules.OnClose(nowMs(), QCursor::pos(), [this] { return CheckPassword(); })) {
    case CScrnSaverEndRules::CloseAction::Ignore:
    case CScrnSaverEndRules::CloseAction::StayRunning:
        return;
    case CScrnSaverEndRules::CloseAction::Close:
        break;
    }
    m_closing = true;
    // Stop the movie, then the control goes.
    if (m_fullScreenFlash.IsCreated()) {
        m_fullScreenFlash.SetMovie(QStringLiteral("0"));
        m_fullScreenFlash.DestroyWindow();
    }
    if (m_cursorHidden) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorHidden = false;
    }
    emit Ended();
    close();
}

bool CScrnSaverWnd::CheckPassword()
{
    // The standard arrow while the check runs.
    if (m_cursorHidden)
        QGuiApplication::changeOverrideCursor(Qt::ArrowCursor);
    const bool passed = !m_passwordCheck || m_passwordCheck();
    if (m_cursorHidden)
        QGuiApplication::changeOverrideCursor(Qt::BlankCursor);
    return passed;
}

void CScrnSaverWnd::closeEvent(QCloseEvent* event)
{
    // A close that the saver did not ask for (the window manager's close
    // command) does nothing while it runs full screen.
    if (!m_preview && !m_closing) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
