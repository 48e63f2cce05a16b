// The arrow window: a content area between two 20-pixel arrow bands at the
// left and right edges. Both arrows start disabled; a press on an arrow shows
// it pressed and the release clicks it when it is enabled. Derived windows
// draw their content and lay out their children in the virtual operations.
// Each arrow also has an invisible push button over its band so a screen
// reader finds it by name and can press it; mouse input goes to the window.
#pragma once

#include "ArrowRules.h"

#include <QImage>
#include <QWidget>

class QAbstractButton;
class QPainter;

namespace QemControls {

class CLRWnd : public QWidget {
    Q_OBJECT
public:
    explicit CLRWnd(QWidget* parent = nullptr);
    ~CLRWnd() override;

    void SetArrowEnabled(int arrow /*1 left, 2 right*/, bool enabled);
    bool ArrowEnabled(int arrow) const;
    QRect ContentRect() const; // client rect without 20 px at each side

protected:
    virtual void OnArrowClicked(int arrow); // does nothing here
    virtual void DrawContent(QPainter& painter);
    virtual void LayOut(); // after every size change
    void DrawArrows(QPainter& painter);

    // The names a screen reader reads for the two arrows.
    void SetArrowNames(const QString& left, const QString& right);
    // The arrow the mouse went down on (-1 none) while it is held.
    int PressedArrow() const { return m_pressed; }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void AccessibleClick(int arrow);

    QRect m_content;
    int m_pressed = ArrowRules::kNone;
    int m_pressState = 0; // 2 while an arrow is held down
    bool m_leftEnabled = false;
    bool m_rightEnabled = false;
    QImage m_pictures[2][2]; // [arrow - 1][enabled]
    QAbstractButton* m_accessors[2];
};

} // namespace QemControls
