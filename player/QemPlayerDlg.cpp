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

    m_movieArea = new QWidget(this);
    m_movieArea->setGeometry(0, 0, 176, 161);
    m_movieArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    FitMovie();

    // The caption is the program's own base name: an album saved as Holiday
    // shows "Holiday".
    setWindowTitle(QFileInfo(ownPath).completeBaseName());

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
    delete m_movieArea;
    m_movieArea = nullptr;
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
}

QRect CQemPlayerDlg::MovieGeometry() const { return m_movieArea ? m_movieArea->geometry() : QRect(); }

void CQemPlayerDlg::FitMovie()
{
    if (m_movieArea)
        m_movieArea->setGeometry(MovieFit::Place(size()));
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
