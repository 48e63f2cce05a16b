#include "QemPopSliderCtrl.h"

#include "ShellTheme.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

CQemPopSliderCtrl::CQemPopSliderCtrl(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Slider"));
    const ShellColours& colours = ShellTheme::Current().Colours();
    setStyleSheet(QStringLiteral("QSlider { background: %1; border: 1px solid %2; }"
                                 "QSlider::groove:horizontal { height: 4px; background: white; border: 1px solid %2; }"
                                 "QSlider::handle:horizontal { width: 8px; margin: -5px 0; background: %3;"
                                 " border: 1px solid %2; border-radius: 2px; }")
                      .arg(colours.panel.name(), colours.shadow.name(), colours.bandTop.name()));
    connect(this, &QSlider::valueChanged, this, &CQemPopSliderCtrl::ShowValueTip);
}

int CQemPopSliderCtrl::ChannelRightGlobal() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    return mapToGlobal(QPoint(groove.right(), 0)).x();
}

void CQemPopSliderCtrl::ShowValueTip(int value)
{
    if (!isVisible())
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    QToolTip::showText(mapToGlobal(handle.bottomLeft() + QPoint(0, 4)), QString::number(value), this);
}

void CQemPopSliderCtrl::leaveEvent(QEvent* e)
{
    QSlider::leaveEvent(e);
    if (!isSliderDown())
        hide();
}

void CQemPopSliderCtrl::focusOutEvent(QFocusEvent* e)
{
    QSlider::focusOutEvent(e);
    hide();
}

void CQemPopSliderCtrl::hideEvent(QHideEvent* e)
{
    QSlider::hideEvent(e);
    QToolTip::hideText();
    emit Closed();
}
