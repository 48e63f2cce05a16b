#include "editor/shell/controls/StaticText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QPixmap>

namespace {

// Screen readers see the text as static text and the link as a link, each
// named by its text.
QAccessibleInterface* StaticAccessible(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("CStaticLink"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Link);
    if (className == QLatin1String("CStaticText"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
    return nullptr;
}

} // namespace

CStaticText::CStaticText(const QString& text, QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(StaticAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    if (parent)
        setFont(parent->font());
    SetText(text);
}

void CStaticText::SetText(const QString& text)
{
    m_text = text;
    setAccessibleName(text);
    FitToText();
    updateGeometry();
    update();
}

void CStaticText::ApplyFont(const QFont& font)
{
    setFont(font);
    FitToText();
    updateGeometry();
    update();
}

void CStaticText::SetFaceName(const QString& face)
{
    QFont f = font();
    f.setFamily(face);
    ApplyFont(f);
}

void CStaticText::SetFontHeight(int pixels)
{
    QFont f = font();
    f.setPixelSize(qMax(1, pixels));
    ApplyFont(f);
}

void CStaticText::SetBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    ApplyFont(f);
}

void CStaticText::SetItalic(bool italic)
{
    QFont f = font();
    f.setItalic(italic);
    ApplyFont(f);
}

void CStaticText::SetUnderline(bool underline)
{
    QFont f = font();
    f.setUnderline(underline);
    ApplyFont(f);
}

void CStaticText::SetBackgroundColor(const QColor& colour)
{
    m_background = colour;
    update();
}

QColor CStaticText::BackgroundColor() const
{
    if (m_background.isValid())
        return m_background;
    if (const QWidget* parent = parentWidget())
        return parent->palette().color(parent->backgroundRole());
    return palette().color(QPalette::Button);
}

void CStaticText::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    FitToText();
}

QColor CStaticText::TextColor() const
{
    return isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText)
                       : palette().color(QPalette::Disabled, QPalette::WindowText);
}

QSize CStaticText::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text) + 2, metrics.height() + 2};
}

void CStaticText::FitToText()
{
    if (m_autoSize)
        resize(sizeHint());
}

void CStaticText::paintEvent(QPaintEvent*)
{
    // The whole face is composed off screen and copied in one step, so that
    // a repaint never shows the background without its text.
    const qreal ratio = devicePixelRatioF();
    QPixmap buffer(size() * ratio);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(BackgroundColor());
    {
        QPainter painter(&buffer);
        painter.setFont(font());
        painter.setPen(TextColor());
        painter.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         m_text);
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

void CStaticText::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
