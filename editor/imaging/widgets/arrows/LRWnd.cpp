#include "LRWnd.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace QemControls {

namespace {

// An invisible button over an arrow band: it paints nothing and lets mouse
// input through to the window, but a screen reader sees a named push button
// whose press action clicks the arrow.
class ArrowAccessor : public QAbstractButton {
public:
    explicit ArrowAccessor(QWidget* parent) : QAbstractButton(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace

CLRWnd::CLRWnd(QWidget* parent) : QWidget(parent)
{
    for (int arrow : {ArrowRules::kLeft, ArrowRules::kRight}) {
        m_pictures[arrow - 1][0] = ArrowRules::ArrowPicture(arrow, false);
        m_pictures[arrow - 1][1] = ArrowRules::ArrowPicture(arrow, true);
        auto* accessor = new ArrowAccessor(this);
        accessor->setEnabled(false);
        connect(accessor, &QAbstractButton::clicked, this, [this, arrow] { AccessibleClick(arrow); });
        m_accessors[arrow - 1] = accessor;
    }
    SetArrowNames(tr("Previous"), tr("Next"));
}

CLRWnd::~CLRWnd() = default;

void CLRWnd::SetArrowEnabled(int arrow, bool enabled)
{
    if (arrow != ArrowRules::kLeft && arrow != ArrowRules::kRight)
        return;
    bool& flag = arrow == ArrowRules::kLeft ? m_leftEnabled : m_rightEnabled;
    if (flag == enabled)
        return;
    flag = enabled;
    m_accessors[arrow - 1]->setEnabled(enabled);
    update(ArrowRules::ArrowBox(rect(), arrow));
}

bool CLRWnd::ArrowEnabled(int arrow) const
{
    if (arrow == ArrowRules::kLeft)
        return m_leftEnabled;
    if (arrow == ArrowRules::kRight)
        return m_rightEnabled;
    return false;
}

QRect CLRWnd::ContentRect() const
{
    return m_content;
}

void CLRWnd::OnArrowClicked(int) {}

void CLRWnd::DrawContent(QPainter&) {}

void CLRWnd::LayOut() {}

void CLRWnd::SetArrowNames(const QString& left, const QString& right)
{
    m_accessors[0]->setText(left);
    m_accessors[0]->setAccessibleName(left);
    m_accessors[1]->setText(right);
    m_accessors[1]->setAccessibleName(right);
}

void CLRWnd::DrawArrows(QPainter& painter)
{
    const QRect client = rect();
    for (int arrow : {ArrowRules::kLeft, ArrowRules::kRight}) {
        const QRect box = ArrowRules::ArrowBox(client, arrow);
        const QBrush panel = palette().brush(QPalette::Button);
        qDrawShadePanel(&painter, box, palette(), false, 1, &panel);
        const bool enabled = ArrowEnabled(arrow);
        if (enabled && m_pressed == arrow && m_pressState == 2)
            painter.fillRect(box, QColor(0, 128, 0, 80));
        painter.drawImage(ArrowRules::PicturePosition(box), m_pictures[arrow - 1][enabled ? 1 : 0]);
    }
}

void CLRWnd::paintEvent(QPaintEvent*)
{
    if (m_content.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    DrawArrows(painter);
    DrawContent(painter);
}

void CLRWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int arrow = ArrowRules::HitTest(rect(), event->position().toPoint());
    if (arrow != ArrowRules::kNone) {
        m_pressed = arrow;
        m_pressState = 2;
        update();
    }
}

void CLRWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int pressed = m_pressed;
    m_pressed = ArrowRules::kNone;
    m_pressState = 0;
    if (ArrowRules::ClickFires(pressed, m_leftEnabled, m_rightEnabled))
        OnArrowClicked(pressed);
    update();
}

void CLRWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_content = ArrowRules::ContentRect(rect());
    for (int arrow : {ArrowRules::kLeft, ArrowRules::kRight})
        m_accessors[arrow - 1]->setGeometry(ArrowRules::ArrowBox(rect(), arrow));
    LayOut();
}

void CLRWnd::AccessibleClick(int arrow)
{
    if (ArrowRules::ClickFires(arrow, m_leftEnabled, m_rightEnabled))
        OnArrowClicked(arrow);
}

} // namespace QemControls
