// The editor view: the black 480 x 360 canvas on which the selected photo is
// shown fitted and centred, with the caption input window on top of it. The
// picture comes from the display copies (DisplayCopies keeps them and says
// what is shown); this widget only draws it.
//
// The caption operations do nothing here; CQemPhotoView links the caption
// window to the album's caption records.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

class DisplayCopies;

namespace QemControls {

class CTxtInputWnd;

class CPhotoView : public QWidget {
    Q_OBJECT
public:
    // With hostsCaption the view makes its caption window (empty, at its
    // place) at once.
    explicit CPhotoView(DisplayCopies& display, QWidget* parent = nullptr, bool hostsCaption = true);
    ~CPhotoView() override;

    QSize sizeHint() const override;
    // Where the shown picture is drawn; empty while nothing is shown.
    QRect DrawnRect() const;
    // The canvas as painted (black, the picture fitted and centred), the part
    // inside `rect` that the picture covers, with rect's top-left at the
    // painter's origin.
    void DrawCanvasPart(QPainter& painter, QRect rect) const;
    CTxtInputWnd* CaptionWindow() const { return m_caption; }
    // The caption window back to its prompt, 120 x 30 at (180, 300).
    void ResetCaptionWindow();

    // The caption window's content into the shown photo's caption record.
    virtual void StoreCaption() {}
    // The shown photo's caption record into the caption window.
    virtual void ShowCaption() {}

protected:
    DisplayCopies& Display() const { return m_display; }
    virtual void DrawBackground(QPainter&) {}
    virtual void DrawPhoto(QPainter& painter);
    // A photo was shown (or shown again after an edit).
    virtual void OnPhotoChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage& Canvas() const;

    DisplayCopies& m_display;
    CTxtInputWnd* m_caption = nullptr;
    QRect m_dragFrame;           // the caption window's frame while it is dragged
    mutable QImage m_canvas;     // the painted canvas, made again after a change
    QString m_lazyTried;         // the current path painting already tried to show
};

} // namespace QemControls
