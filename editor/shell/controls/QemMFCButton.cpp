#include "QemMFCButton.h"

#include "ButtonFace.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <vector>

namespace {

// One hover timer for all picture buttons: started when a button is pressed
// and none runs, stopped when no pressed button is left to watch. The timer
// belongs to the application object, so it ends with it.
class SharedHoverTimer {
public:
    static SharedHoverTimer& Instance()
    {
        static SharedHoverTimer timer;
        return timer;
    }

    void Watch(CQemMFCButton* button)
    {
        for (const auto& watched : m_buttons)
            if (watched == button)
                return;
        m_buttons.emplace_back(button);
        QTimer* timer = Timer();
        if (timer && !timer->isActive())
            timer->start();
    }
    void Forget(CQemMFCButton* button)
    {
        std::erase_if(m_buttons, [button](const QPointer<CQemMFCButton>& b) { return !b || b == button; });
        if (m_buttons.empty() && m_timer)
            m_timer->stop();
    }

private:
    QTimer* Timer()
    {
        if (!m_timer && QCoreApplication::instance()) {
            m_timer = new QTimer(QCoreApplication::instance());
            m_timer->setInterval(ButtonHotRules::kHoverTickMs);
            QObject::connect(m_timer, &QTimer::timeout, [this] { Tick(); });
        }
        return m_timer;
    }
    void Tick()
    {
        const auto buttons = m_buttons;
        for (const auto& button : buttons)
            if (button)
                button->OnHoverTick();
        std::erase_if(m_buttons, [](const QPointer<CQemMFCButton>& b) { return !b; });
        if (m_buttons.empty() && m_timer)
            m_timer->stop();
    }

    QPointer<QTimer> m_timer;
    std::vector<QPointer<CQemMFCButton>> m_buttons;
};

QPoint Aligned(const QRect& area, QSize picture, CQemMFCButton::ImageAlign align)
{
    const int y = area.top() + (area.height() - picture.height()) / 2;
    switch (align) {
    case CQemMFCButton::ImageAlign::Left:
        return QPoint(area.left() + 2, y);
    case CQemMFCButton::ImageAlign::Right:
        return QPoint(area.right() - 1 - picture.width(), y);
    case CQemMFCButton::ImageAlign::Centre:
        break;
    }
    return QPoint(area.left() + (area.width() - picture.width()) / 2, y);
}

QSize LogicalSize(const QPixmap& pixmap)
{
    return (QSizeF(pixmap.size()) / pixmap.devicePixelRatio()).toSize();
}

} // namespace

CQemMFCButton::CQemMFCButton(QWidget* parent, int controlId)
    : QPushButton(parent), m_controlId(controlId), m_face(ButtonFace::kDefaultFace)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
}

CQemMFCButton::~CQemMFCButton()
{
    SharedHoverTimer::Instance().Forget(this);
}

void CQemMFCButton::SetImages(const QPixmap& normal, const QPixmap& hot, const QPixmap& pressed)
{
    m_normal = normal;
    m_hot = hot;
    m_pressed = pressed;
    updateGeometry();
    update();
}

void CQemMFCButton::SetCaption(const QString& caption)
{
    m_caption = caption;
    UpdateAccessibleName();
    updateGeometry();
    update();
}

void CQemMFCButton::SetCaptionBeside(bool beside)
{
    m_captionBeside = beside;
    update();
}

void CQemMFCButton::SetFaceColor(const QColor& colour)
{
    m_face = colour;
    update();
}

void CQemMFCButton::SetImageAlign(ImageAlign align)
{
    m_align = align;
    update();
}

void CQemMFCButton::SetBorderStyle(bool border)
{
    m_border = border;
    update();
}

QSize CQemMFCButton::sizeHint() const
{
    QSize size = LogicalSize(m_normal) + QSize(4, 4);
    if (!m_caption.isEmpty()) {
        const QFontMetrics metrics(font());
        if (m_captionBeside)
            size = QSize(size.width() + metrics.horizontalAdvance(m_caption) + 6, qMax(size.height(), metrics.height() + 4));
        else
            size = QSize(qMax(size.width(), metrics.horizontalAdvance(m_caption) + 6), size.height() + CaptionBandHeight());
    }
    return size.expandedTo(QSize(16, 16));
}

int CQemMFCButton::CaptionBandHeight() const
{
    if (m_caption.isEmpty() || m_captionBeside)
        return 0;
    // Two lines of the button's font: room for a wrapped caption.
    return QFontMetrics(font()).height() * 2 + 2;
}

void CQemMFCButton::OnHoverTick()
{
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    const bool over = under == this;
    if (m_rules.Tick(over))
        update();
    if (!m_rules.IsWatched())
        SharedHoverTimer::Instance().Forget(this);
}

bool CQemMFCButton::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTipChange)
        UpdateAccessibleName();
    return QPushButton::event(e);
}

void CQemMFCButton::UpdateAccessibleName()
{
    setAccessibleName(m_caption.isEmpty() ? toolTip() : m_caption);
}

void CQemMFCButton::enterEvent(QEnterEvent* e)
{
    if (m_rules.MouseEntered())
        update();
    QPushButton::enterEvent(e);
}

void CQemMFCButton::leaveEvent(QEvent* e)
{
    if (!m_rules.IsPressed() && m_rules.MouseLeft())
        update();
    QPushButton::leaveEvent(e);
}

void CQemMFCButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && isEnabled()) {
        m_rules.Press();
        SharedHoverTimer::Instance().Watch(this);
        update();
    }
    QPushButton::mousePressEvent(e);
}

void CQemMFCButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_rules.Release(rect().contains(e->position().toPoint()));
        update();
    }
    QPushButton::mouseReleaseEvent(e);
}

void CQemMFCButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, m_face);
    const bool pressedLook = IsPressedLook();
    const bool hot = isEnabled() && (m_rules.IsHot() || pressedLook);
    if (hot && m_border)
        ButtonFace::PaintHot(painter, client);
    const bool pressedPicture = pressedLook && !m_pressed.isNull();
    if (pressedLook && m_pressed.isNull() && isEnabled())
        ButtonFace::PaintPressedTint(painter, client);

    const QPixmap& picture = pressedPicture                   ? m_pressed
                             : (hot && !m_hot.isNull())       ? m_hot
                                                              : m_normal;
    const int band = CaptionBandHeight();
    QRect pictureArea = client.adjusted(0, 0, 0, pressedPicture ? 0 : -band);
    if (m_captionBeside && !m_caption.isEmpty() && !picture.isNull())
        pictureArea.setWidth(LogicalSize(picture).width() + 6);
    if (!picture.isNull()) {
        if (!isEnabled())
            painter.setOpacity(0.5);
        painter.drawPixmap(Aligned(pictureArea, LogicalSize(picture), m_captionBeside ? ImageAlign::Left : m_align),
                           picture);
        painter.setOpacity(1);
    }
    if (m_caption.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(Qt::gray));
    if (m_captionBeside) {
        const QRect text = client.adjusted(picture.isNull() ? 4 : pictureArea.right() + 1, 0, -2, 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
    } else {
        const QRect text(client.left() + 2, client.bottom() + 1 - band, client.width() - 4, band);
        painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, m_caption);
    }
}
