// The photo edit window: the photo editor view (480 x 360) centred between
// the two arrow bands on a white background. The view is given by its owner
// and becomes a child of this window.
#pragma once

#include "LRWnd.h"

#include <QPointer>

namespace QemControls {

class CLRPhotoEditWnd : public CLRWnd {
    Q_OBJECT
public:
    explicit CLRPhotoEditWnd(QWidget* parent = nullptr);

    // The hosted view: reparented to this window and placed by LayOut.
    void SetView(QWidget* view);
    QWidget* View() const { return m_view; }
    // Where the view goes in this window's client rectangle.
    QRect ViewRect() const;

protected:
    // Extra drawing over the white client area and the arrows (nothing here).
    virtual void DrawExtra(QPainter& painter);
    void LayOut() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> m_view;
};

} // namespace QemControls
