// The edit step's area for a current photo: the photo edit window (the photo
// between its Previous and Next arrows) at the left, the photo edit pane with
// its tools and caption properties at the right, at the width it asks for.
#pragma once

#include <QWidget>

class CPhotoEditPane;
class CQemLRPhotoEditWnd;

class PhotoEditArea : public QWidget {
    Q_OBJECT
public:
    PhotoEditArea(CQemLRPhotoEditWnd* window, CPhotoEditPane* pane, QWidget* parent = nullptr);

    // The pane's width: what it asks for, and never so much that the photo
    // edit window falls below the canvas and its arrows.
    static int PaneWidth(int areaWidth, int wanted);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CQemLRPhotoEditWnd* m_window;
    CPhotoEditPane* m_pane;
};
