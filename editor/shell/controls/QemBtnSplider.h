// A picture button with its caption along the bottom and a small down arrow;
// pressing it opens a pop-up slider. For brightness (324) and contrast (325)
// the slider opens at the current photo's stored value, and when it closes
// the button writes its value back into that photo's record.
#pragma once

#include "ButtonHotRules.h"

#include <QPixmap>
#include <QWidget>

class AlbumModel;
class CQemPopSliderCtrl;

class CQemBtnSplider : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCaptionBand = 24;
    static constexpr int kArrowAboveBottom = 10;

    explicit CQemBtnSplider(int controlId, QWidget* parent = nullptr);
    ~CQemBtnSplider() override;

    int ControlId() const { return m_controlId; }
    void SetImages(const QPixmap& normal, const QPixmap& hot = QPixmap(), const QPixmap& pressed = QPixmap());
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    // The value the owner stored from the slider's last position.
    void SetValue(int value) { m_value = value; }
    int Value() const { return m_value; }
    // The album whose current photo the button reads and writes; the
    // editor's album (AlbumModel::Instance()) unless set.
    void SetAlbum(AlbumModel* album) { m_album = album; }

    CQemPopSliderCtrl* Slider() const { return m_slider; }
    bool IsPressedLook() const { return m_pressedLook; }
    bool IsHot() const { return m_rules.IsHot(); }

    // Opens the slider as a press does.
    void OpenSlider();

    QSize sizeHint() const override;

signals:
    // Each change of the slider's position while it is open.
    void ValueChanged(int controlId, int value);

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void OnSliderClosed();
    AlbumModel* Album() const;

    int m_controlId;
    QPixmap m_normal, m_hot, m_pressed;
    QString m_caption;
    int m_value = 0;
    AlbumModel* m_album = nullptr;
    bool m_pressedLook = false;
    ButtonHotRules m_rules;
    CQemPopSliderCtrl* m_slider;
};
