#include "editor/shell/frame/QemTabCtrl.h"

#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/frame/TabStripAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr QRgb kStripBackground = 0xffbfdaff; // RGB(191, 218, 255)
constexpr qreal kImageOpacity = 200.0 / 255.0;
} // namespace

CQemTabCtrl::CQemTabCtrl(QWidget* parent) : QWidget(parent)
{
    // Before anything tells screen readers about the strip: the interface is
    // made (and kept) the first time it is asked for.
    InstallTabStripAccessibility();
    setObjectName(QStringLiteral("QemTabs"));
    setAccessibleName(QStringLiteral("Steps"));
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

void CQemTabCtrl::AddTab(const QString& caption)
{
    m_rules.AddTab(caption);
    m_rules.LayOut(rect());
    update();
}

void CQemTabCtrl::SelectStepTab(int index)
{
    const int old = m_rules.Selected();
    if (!m_rules.SelectTab(index))
        return;
    repaintTab(old);
    repaintTab(index);
    notifyAccessible(index);
}

void CQemTabCtrl::repaintTab(int index)
{
    if (index >= 0 && index < m_rules.Count())
        update(m_rules.At(index).rect.adjusted(-1, -1, 1, 1));
}

void CQemTabCtrl::notifyAccessible(int index)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
}

void CQemTabCtrl::resizeEvent(QResizeEvent*)
{
    m_rules.LayOut(rect());
}

void CQemTabCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kStripBackground));
    const qreal dpr = devicePixelRatioF();
    for (int i = 0; i < m_rules.Count(); ++i) {
        const StepTabRules::Tab& tab = m_rules.At(i);
        if (!tab.visible)
            continue;
        painter.setOpacity(kImageOpacity);
        painter.drawPixmap(tab.rect.topLeft(), ShellArt::Tab(m_rules.ImageOf(i), tab.rect.size(), dpr));
        painter.setOpacity(1.0);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(tab.rect, Qt::AlignCenter | Qt::TextSingleLine, tab.caption);
        if (hasFocus() && tab.selected) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            painter.drawRect(tab.rect.adjusted(4, 4, -5, -6));
        }
    }
}

void CQemTabCtrl::mouseMoveEvent(QMouseEvent*)
{
    if (!m_hoverTimer.isActive()) {
        m_hoverTimer.start(kHoverInterval, this);
        hoverTick();
    }
}

void CQemTabCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_hoverTimer.timerId())
        hoverTick();
}

void CQemTabCtrl::hoverTick()
{
    const QPoint global = QCursor::pos();
    const bool over = isVisible() && rect().contains(mapFromGlobal(global)) && underMouse();
    for (int index : m_rules.Hover(mapFromGlobal(global), over))
        repaintTab(index);
    if (!over)
        m_hoverTimer.stop();
}

void CQemTabCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The press itself makes the tab under it hot, so a click never depends
    // on the timer having ticked.
    for (int index : m_rules.Hover(event->position().toPoint(), true))
        repaintTab(index);
    const int old = m_rules.Selected();
    const int index = m_rules.Click();
    if (index < 0)
        return;
    repaintTab(old);
    repaintTab(index);
    notifyAccessible(index);
    emit TabClicked(m_rules.At(index).caption);
    emit StepRequested(index);
}

void CQemTabCtrl::activate(int index)
{
    if (index == m_rules.Selected() || index < 0 || index >= m_rules.Count())
        return;
    SelectStepTab(index);
    emit TabClicked(m_rules.At(index).caption);
    emit StepRequested(index);
}

void CQemTabCtrl::keyPressEvent(QKeyEvent* event)
{
    const int selected = m_rules.Selected();
    if (event->key() == Qt::Key_Left && selected > 0)
        activate(selected - 1);
    else if (event->key() == Qt::Key_Right && selected + 1 < m_rules.Count() && m_rules.At(selected + 1).visible)
        activate(selected + 1);
    else
        QWidget::keyPressEvent(event);
}

void CQemTabCtrl::focusInEvent(QFocusEvent*)
{
    update();
}

void CQemTabCtrl::focusOutEvent(QFocusEvent*)
{
    update();
}
