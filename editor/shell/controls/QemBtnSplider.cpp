#include "QemBtnSplider.h"

#include "ButtonFace.h"
#include "PopSliderRules.h"
#include "QemPopSliderCtrl.h"
#include "ShellTheme.h"
#include "editor/core/AlbumModel.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

CQemBtnSplider::CQemBtnSplider(int controlId, QWidget* parent)
    : QWidget(parent), m_controlId(controlId), m_slider(new CQemPopSliderCtrl(this))
{
    setAttribute(Qt::WA_Hover);
    m_slider->hide();
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        if (m_slider->isVisible())
            emit ValueChanged(m_controlId, value);
    });
    connect(m_slider, &CQemPopSliderCtrl::Closed, this, &CQemBtnSplider::OnSliderClosed);
}

CQemBtnSplider::~CQemBtnSplider()
{
    // Close an open slider while this button is still whole (the value is
    // kept), then let the slider go without reporting back.
    m_slider->hide();
    m_slider->disconnect(this);
}

void CQemBtnSplider::SetImages(const QPixmap& normal, const QPixmap& hot, const QPixmap& pressed)
{
    m_normal = normal;
    m_hot = hot;
    m_pressed = pressed;
    update();
}

void CQemBtnSplider::SetCaption(const QString& caption)
{
    m_caption = caption;
    setAccessibleName(caption);
    update();
}

AlbumModel* CQemBtnSplider::Album() const
{
    return m_album ? m_album : AlbumModel::Instance();
}

QSize CQemBtnSplider::sizeHint() const
{
    const QSize picture = (QSizeF(m_normal.size()) / m_normal.devicePixelRatio()).toSize();
    return QSize(qMax(picture.width() + 8, fontMetrics().horizontalAdvance(m_caption) + 8),
                 picture.height() + 4 + kCaptionBand);
}

void CQemBtnSplider::OpenSlider()
{
    const int value = PopSliderRules::StartValue(m_controlId, Album());
    // A close without any move writes back this photo's own value, never
    // the value left from another photo.
    m_value = value;
    m_pressedLook = true;
    update();

    QScreen* screen = this->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 16, 1 << 16);
    const QRect place = PopSliderRules::Placement(QRect(mapToGlobal(QPoint(0, 0)), size()), area);
    m_slider->blockSignals(true);
    m_slider->setRange(PopSliderRules::Minimum(value), PopSliderRules::Maximum(value));
    m_slider->setValue(value);
    m_slider->blockSignals(false);
    m_slider->setGeometry(place);
    m_slider->show();
    m_slider->setFocus(Qt::PopupFocusReason);
    QCursor::setPos(PopSliderRules::CursorPoint(place, m_slider->ChannelRightGlobal()));
}

void CQemBtnSplider::OnSliderClosed()
{
    if (!m_pressedLook)
        return;
    m_pressedLook = false;
    PopSliderRules::WriteBack(Album(), m_controlId, m_value);
    update();
}

void CQemBtnSplider::enterEvent(QEnterEvent* e)
{
    if (m_rules.MouseEntered())
        update();
    QWidget::enterEvent(e);
}

void CQemBtnSplider::leaveEvent(QEvent* e)
{
    if (m_rules.MouseLeft())
        update();
    QWidget::leaveEvent(e);
}

void CQemBtnSplider::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && isEnabled())
        OpenSlider();
    QWidget::mousePressEvent(e);
}

void CQemBtnSplider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect();
    const bool hot = isEnabled() && (m_rules.IsHot() || m_pressedLook);
    if (hot)
        ButtonFace::PaintHot(painter, client);
    else
        painter.fillRect(client, ShellTheme::Current().Colours().panel);
    if (m_pressedLook && m_pressed.isNull())
        ButtonFace::PaintPressedTint(painter, client);

    const QPixmap& picture = (m_pressedLook && !m_pressed.isNull()) ? m_pressed
                             : (hot && !m_hot.isNull())             ? m_hot
                                                                    : m_normal;
    if (!picture.isNull()) {
        const QSize size = (QSizeF(picture.size()) / picture.devicePixelRatio()).toSize();
        const QRect area = client.adjusted(0, 0, 0, -kCaptionBand);
        painter.setOpacity(isEnabled() ? 1 : 0.5);
        painter.drawPixmap(area.left() + (area.width() - size.width()) / 2,
                           area.top() + (area.height() - size.height()) / 2, picture);
        painter.setOpacity(1);
    }
    // The caption at the top of the bottom band, the arrow under it.
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(Qt::gray));
    painter.setFont(font());
    const int arrowTop = client.bottom() + 1 - kArrowAboveBottom;
    painter.drawText(QRect(client.left(), client.bottom() + 1 - kCaptionBand, client.width(),
                           kCaptionBand - kArrowAboveBottom),
                     Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
    const int centre = client.left() + client.width() / 2;
    int row = 0;
    for (int width : {8, 6, 4, 2})
        painter.fillRect(centre - width / 2, arrowTop + row++, width, 1, painter.pen().color());
}
