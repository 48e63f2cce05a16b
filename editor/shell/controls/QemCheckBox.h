// A check button whose whole face is filled with one of two colours chosen by
// its owner (one while set, one while cleared); the caption is drawn
// left-aligned, vertically centred, on one line, in the button's font.
#pragma once

#include <QCheckBox>

class CQemCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CQemCheckBox(const QString& caption = QString(), QWidget* parent = nullptr);

    // Sets the caption and the accessible name together.
    void SetCaption(const QString& caption);
    void SetColours(const QColor& set, const QColor& cleared);
    QColor FaceColour() const { return isChecked() ? m_set : m_cleared; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor m_set{255, 231, 151};
    QColor m_cleared{213, 228, 242};
};
