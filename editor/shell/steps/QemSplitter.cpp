#include "editor/shell/steps/QemSplitter.h"

#include "editor/shell/WorkspaceMetrics.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"

#include <QPainter>

using namespace WorkspaceMetrics;

CQemSplitter::CQemSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent)
{
    setHandleWidth(kSplitterBar);
    setChildrenCollapsible(true);
    connect(this, &QSplitter::splitterMoved, this, [this](int position, int) { moved(position); });
}

QSplitterHandle* CQemSplitter::createHandle()
{
    auto* handle = new QemSplitterHandle(orientation(), this);
    connect(handle->Button(), &QAbstractButton::clicked, this, &CQemSplitter::Toggle);
    return handle;
}

CQemMFCButton* CQemSplitter::ToggleButton() const
{
    auto* bar = count() > 1 ? qobject_cast<QemSplitterHandle*>(handle(1)) : nullptr;
    return bar ? bar->Button() : nullptr;
}

void CQemSplitter::SetCollapsed(bool collapsed)
{
    m_collapsed = collapsed;
    if (auto* bar = count() > 1 ? qobject_cast<QemSplitterHandle*>(handle(1)) : nullptr)
        bar->ShowCollapsed(collapsed);
    LayOutRows();
}

void CQemSplitter::moved(int position)
{
    // Dragging the bar down while collapsed gives the browsing row a size
    // again: the next layout brings back the two-thirds split.
    if (m_collapsed && position > 0)
        SetCollapsed(false);
}

void CQemSplitter::LayOutRows()
{
    if (count() < 2)
        return;
    const SplitterRows rows = RowsFor(height(), m_collapsed, 0);
    // The bar lies between the rows; the storyboard row gives up its height.
    const int storyboard = m_collapsed ? rows.storyboard : std::max(0, height() - kSplitterBar - rows.browse);
    setSizes({rows.browse, storyboard});
}

void CQemSplitter::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    LayOutRows();
}

QemSplitterHandle::QemSplitterHandle(Qt::Orientation orientation, CQemSplitter* parent)
    : QSplitterHandle(orientation, parent), m_button(new CQemMFCButton(this))
{
    m_button->setFixedSize(kToggleButton);
    m_button->setFocusPolicy(Qt::StrongFocus);
    ShowCollapsed(false);
}

void QemSplitterHandle::ShowCollapsed(bool collapsed)
{
    const qreal dpr = devicePixelRatioF();
    m_button->SetImages(ShellArt::Toggle(collapsed, ShellArt::State::Normal, dpr),
                        ShellArt::Toggle(collapsed, ShellArt::State::Hot, dpr),
                        ShellArt::Toggle(collapsed, ShellArt::State::Pressed, dpr));
    const QString name = collapsed ? QStringLiteral("Show the folders") : QStringLiteral("Hide the folders");
    m_button->setToolTip(name);
    m_button->setAccessibleName(name);
}

void QemSplitterHandle::resizeEvent(QResizeEvent*)
{
    m_button->setGeometry(ToggleRect(rect()));
}

void QemSplitterHandle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ShellColours& colours = ShellTheme::Current().Colours();
    painter.fillRect(rect(), colours.panel);
    painter.setPen(colours.shadow);
    painter.drawLine(rect().topLeft(), rect().topRight());
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
}
