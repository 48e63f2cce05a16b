// The picture that follows the cursor while an effect is dragged: a small
// frameless child of the top-level window, drawn half transparent over what
// lies beneath and invisible to the mouse, so the window under the cursor is
// still found beneath it.
#pragma once

#include <QImage>
#include <QWidget>

class DragPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 32;
    static constexpr int kOpacity = 100; // of 255

    // `host` is any widget of the window the picture is drawn over.
    DragPicture(QWidget* host, const QImage& picture);

    // Centres the picture on a point in global coordinates and shows it.
    void MoveTo(QPoint global);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
