#include "player/QemPlayerDlg.h"

#include "player/AboutDlg.h"
#include "player/MovieFit.h"
#include "player/PayloadUnpacker.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStyle>

namespace {
// The dialog's size of 360 x 210 dialog units in pixels of the usual dialog font.
constexpr QSize kInitialSize(540, 341);
} // namespace

CQemPlayerDlg::CQemPlayerDlg(const QString& ownPath, QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_OpaquePaintEvent); // the black fill covers everything: no separate erase
    setSizeGripEnabled(false);
    resize(kInitialSize);

    // Qt has no system menu to extend, so the About entry lives in the
    // window's context menu (right click anywhere in the window).
    m_menu = new QMenu(this);
    m_menu->addAction(QStringLiteral("&About Kelvana Player..."), this, &CQemPlayerDlg::ShowAbout);

    m_icon = style()->standardIcon(QStyle::SP_MediaPlay);
    setWindowIcon(m_icon);

    // The movie control (id 1001) starts at 117 x 99 dialog units in the
    // top-left corner until the fitting rule places it. It may load remote
    // addresses; the movie scales itself to the control, letterboxed. It is
    // shown once it has a movie: an empty web view is not black everywhere.
    if (!m_flash.Create(QStringLiteral("Flash Player"), false, QRect(0, 0, 176, 161), this, 1001))
        return;
    m_flash.SetAllowNetworking(QStringLiteral("all"));
    // The About entry stays reachable with a right click over the movie.
    m_flash.Window()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_flash.Window(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_flash.Window()->mapToGlobal(at)); });
    FitMovie();

    // The caption is the program's own file name: executables carry no
    // extension here, so an album saved as Holiday shows "Holiday" and one
    // saved as Trip.2009 shows "Trip.2009", not "Trip".
    setWindowTitle(QFileInfo(ownPath).fileName());

    // Escape and Enter close the window, also while the movie has the focus.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return),
                                   QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &QDialog::reject);
    }

    UnpackAndLoad(ownPath);
}

CQemPlayerDlg::~CQemPlayerDlg()
{
    // The movie lets go of its files before they are removed.
    m_flash.DestroyWindow();
    CPayloadUnpacker::RemoveFolders(m_folders);
}

void CQemPlayerDlg::UnpackAndLoad(const QString& ownPath)
{
    QElapsedTimer timer;
    timer.start();
    const CPayloadUnpacker::Result result = CPayloadUnpacker::UnpackFile(ownPath);
    m_unpackMs = timer.elapsed();
    m_folders = result.folders;
    if (result.status == CPayloadUnpacker::Status::Unpacked)
        m_moviePath = result.moviePath;
    if (!m_moviePath.isEmpty()) {
        m_flash.LoadMovie(0, m_moviePath);
        m_flash.Window()->show();
    }
}

QRect CQemPlayerDlg::MovieGeometry() const { return m_flash.IsCreated() ? m_flash.Window()->geometry() : QRect(); }

void CQemPlayerDlg::FitMovie()
{
    if (m_flash.IsCreated())
        m_flash.Window()->setGeometry(MovieFit::Place(size()));
}

void CQemPlayerDlg::ShowAbout()
{
    CAboutDlg about(m_icon, this);
    about.exec();
}

void CQemPlayerDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

void CQemPlayerDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FitMovie();
}

void CQemPlayerDlg::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu->popup(event->globalPos());
    event->accept();
}
