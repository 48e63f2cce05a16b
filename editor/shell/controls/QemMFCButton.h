// A picture button of the shell: three state pictures (normal, hot, pressed)
// set together, an optional caption that the button draws itself under the
// picture (or beside it), a face colour, and the warm hot look and red-tinted
// pressed look. Checkable buttons show the pressed look while checked.
#pragma once

#include "ButtonHotRules.h"

#include <QPixmap>
#include <QPushButton>

class CQemMFCButton : public QPushButton {
    Q_OBJECT
public:
    enum class ImageAlign { Left, Centre, Right };

    explicit CQemMFCButton(QWidget* parent = nullptr, int controlId = 0);
    ~CQemMFCButton() override;

    int ControlId() const { return m_controlId; }
    void SetControlId(int id) { m_controlId = id; }

    // Missing hot or pressed pictures fall back to the normal one (the
    // pressed look then adds the red tint).
    void SetImages(const QPixmap& normal, const QPixmap& hot = QPixmap(), const QPixmap& pressed = QPixmap());
    // The caption the button draws; empty for a picture-only button. It is
    // also the accessible name (else the tooltip is).
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    // The caption to the right of the picture, on one line, instead of the
    // band under it (for low buttons).
    void SetCaptionBeside(bool beside);

    void SetFaceColor(const QColor& colour);
    QColor FaceColor() const { return m_face; }
    void SetImageAlign(ImageAlign align);
    // Without the border style the hot gradient is not drawn.
    void SetBorderStyle(bool border);
    bool HasBorderStyle() const { return m_border; }

    bool IsHot() const { return m_rules.IsHot(); }
    // Pressed look: held down or checked.
    bool IsPressedLook() const { return m_rules.IsPressed() || isDown() || isChecked(); }

    QSize sizeHint() const override;

    // One tick of the shared hover timer (public for the timer's use).
    void OnHoverTick();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void UpdateAccessibleName();
    int CaptionBandHeight() const;

    int m_controlId = 0;
    QPixmap m_normal, m_hot, m_pressed;
    QString m_caption;
    bool m_captionBeside = false;
    QColor m_face;
    ImageAlign m_align = ImageAlign::Centre;
    bool m_border = true;
    ButtonHotRules m_rules;
};
