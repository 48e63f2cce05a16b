// The pop-up slider of the brightness and contrast buttons: a borderless
// pop-up track bar without tick marks that shows its value as a tip while it
// moves, and hides itself when the mouse leaves it or it loses the focus.
#pragma once

#include <QSlider>

class CQemPopSliderCtrl : public QSlider {
    Q_OBJECT
public:
    explicit CQemPopSliderCtrl(QWidget* parent = nullptr);

    // The channel's right end in global coordinates.
    int ChannelRightGlobal() const;

signals:
    // Sent once each time the slider hides.
    void Closed();

protected:
    void leaveEvent(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void ShowValueTip(int value);
};
