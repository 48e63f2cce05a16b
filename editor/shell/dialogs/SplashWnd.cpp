#include "editor/shell/dialogs/SplashWnd.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>

namespace {
QPointer<CSplashWnd> g_splash;
}

CSplashWnd::CSplashWnd(const QPixmap& picture, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_picture(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Splash"));
    const QSize size = picture.deviceIndependentSize().toSize();
    setFixedSize(size);
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
}

bool CSplashWnd::Show(const QPixmap& picture, QWidget* owner)
{
    if (g_splash || picture.isNull())
        return false;
    g_splash = new CSplashWnd(picture, owner);
    g_splash->show();
    return true;
}

void CSplashWnd::Close()
{
    if (!g_splash)
        return;
    QWidget* owner = g_splash->parentWidget();
    delete g_splash.data();
    if (owner)
        owner->repaint();
}

CSplashWnd* CSplashWnd::Current()
{
    return g_splash.data();
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}
