#include "screensaver/ScrnSaverWnd.h"

#include "screensaver/DesktopGrab.h"
#include "screensaver/DesktopSmear.h"
#include "screensaver/ForeignWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QElapsedTimer>
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
    if (!m_preview)
        qApp->removeEventFilter(this);
}

bool CScrnSaverWnd::Create(const QString& name, const QRect& area, QWindow* parent)
{
    m_preview = parent != nullptr;
    if (!name.isEmpty())
        setWindowTitle(name);
    const QPoint desktopOrigin = DesktopGrab::VirtualScreen().topLeft();
    m_background = DesktopSmear::Background(DesktopGrab::Grab(QRect(m_preview ? desktopOrigin : area.topLeft(),
                                                                    area.size())));

    if (m_preview) {
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
    }

    m_movieRect = SaverFiles::MovieRect(area.size(), SaverFiles::ReadMovieSize(m_files.configuration));
    m_movieArea = new QWidget(this);
    m_movieArea->setGeometry(m_movieRect);
    m_movieArea->setAttribute(Qt::WA_TransparentForMouseEvents);

    if (!m_preview)
        StartFullScreenInput();
    show();
    if (!m_preview) {
        raise();
        activateWindow();
    }
    return true;
}

void CScrnSaverWnd::StartFullScreenInput()
{
    m_rules.Start(QCursor::pos(), nowMs(), CScrnSaverEndRules::LoadSettings());
    setCursor(Qt::BlankCursor);
    setMouseTracking(true);
    qApp->installEventFilter(this);
}

void CScrnSaverWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}

bool CScrnSaverWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (m_preview || m_closing)
        return QWidget::eventFilter(watched, event);
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
    // Every event then takes its normal course.
    return QWidget::eventFilter(watched, event);
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
    switch (m_rules.OnClose(nowMs(), QCursor::pos(), m_passwordCheck)) {
    case CScrnSaverEndRules::CloseAction::Ignore:
    case CScrnSaverEndRules::CloseAction::StayRunning:
        return;
    case CScrnSaverEndRules::CloseAction::Close:
        break;
    }
    m_closing = true;
    delete m_movieArea;
    m_movieArea = nullptr;
    emit Ended();
    close();
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
