// A hyperlink line: underlined text under a hand cursor, RGB(0, 0, 255)
// while the mouse is over it and RGB(0, 0, 192) otherwise. A click with the
// left button (pressed and released over the link) is reported with the
// control's id; the owner decides what the link opens. Screen readers see it
// as a link named by its text.
#pragma once

#include "editor/shell/controls/StaticText.h"

class CStaticLink : public CStaticText {
    Q_OBJECT
public:
    static constexpr QRgb kHoverColour = 0xff0000ff;  // RGB(0, 0, 255)
    static constexpr QRgb kNormalColour = 0xff0000c0; // RGB(0, 0, 192)

    explicit CStaticLink(const QString& text = QString(), QWidget* parent = nullptr, int controlId = 0);

    int ControlId() const { return m_controlId; }
    void SetControlId(int controlId) { m_controlId = controlId; }
    bool IsHovered() const { return m_hovered; }

    QColor TextColor() const override;

signals:
    void Clicked(int controlId);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetHovered(bool hovered);

    int m_controlId = 0;
    bool m_hovered = false;
    bool m_pressed = false;
};
