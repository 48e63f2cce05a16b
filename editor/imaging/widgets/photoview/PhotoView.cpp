#include "editor/imaging/widgets/photoview/PhotoView.h"

#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/widgets/caption/TxtInputWnd.h"
#include "editor/imaging/widgets/photoview/ViewPlacement.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace QemControls {

CPhotoView::CPhotoView(DisplayCopies& display, QWidget* parent, bool hostsCaption)
    : QWidget(parent)
    , m_display(display)
{
    setObjectName(QStringLiteral("PhotoDrawArea"));
    setAccessibleName(QStringLiteral("Photo"));
    setFixedSize(ViewPlacement::kWidth, ViewPlacement::kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    connect(&m_display, &DisplayCopies::ViewChanged, this, [this] {
        m_canvas = QImage();
        if (!m_display.ShownPicture().isNull())
            m_lazyTried.clear();
        update();
    });
    connect(&m_display, &DisplayCopies::PhotoChanged, this, [this] {
        m_canvas = QImage();
        update();
        OnPhotoChanged();
    });
    if (!hostsCaption)
        return;
    m_caption = new CTxtInputWnd(this);
    // The caption window's notices: a double-click in its edit ends the
    // editing (the caption is stored first), the start of editing loads the
    // stored caption, leaving the edit stores it.
    connect(m_caption, &CTxtInputWnd::EditDoubleClicked, this, [this] {
        StoreCaption();
        ResetCaptionWindow();
    });
    connect(m_caption, &CTxtInputWnd::EditingStarted, this, [this] { ShowCaption(); });
    connect(m_caption, &CTxtInputWnd::EditFocusLost, this, [this] { StoreCaption(); });
    connect(m_caption, &CTxtInputWnd::DragFrameChanged, this, [this](QRect frame) {
        update(m_dragFrame.adjusted(-1, -1, 1, 1));
        m_dragFrame = frame;
        update(m_dragFrame.adjusted(-1, -1, 1, 1));
    });
    ResetCaptionWindow();
}

CPhotoView::~CPhotoView()
{
    // Closing the window moves the focus out of the caption edit; no caption
    // is stored by a view that is going away.
    if (m_caption)
        disconnect(m_caption, nullptr, this, nullptr);
}

QSize CPhotoView::sizeHint() const
{
    return QSize(ViewPlacement::kWidth, ViewPlacement::kHeight);
}

QRect CPhotoView::DrawnRect() const
{
    return ViewPlacement::DrawnRect(m_display.ShownPicture().size());
}

void CPhotoView::ResetCaptionWindow()
{
    if (m_caption)
        m_caption->Reset();
}

void CPhotoView::DrawPhoto(QPainter& painter)
{
    const QImage picture = m_display.ShownPicture();
    if (picture.isNull())
        return;
    const QRect drawn = ViewPlacement::DrawnRect(picture.size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(drawn, picture);
}

const QImage& CPhotoView::Canvas() const
{
    if (m_canvas.isNull()) {
        m_canvas = QImage(ViewPlacement::kWidth, ViewPlacement::kHeight, QImage::Format_RGB32);
        m_canvas.fill(Qt::black);
        QPainter painter(&m_canvas);
        const_cast<CPhotoView*>(this)->DrawPhoto(painter);
    }
    return m_canvas;
}

void CPhotoView::DrawCanvasPart(QPainter& painter, QRect rect) const
{
    const QRect part = rect.intersected(DrawnRect());
    if (part.isEmpty())
        return;
    painter.drawImage(part.topLeft() - rect.topLeft(), Canvas(), part);
}

void CPhotoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    DrawBackground(painter);
    if (!m_display.ShownPicture().isNull()) {
        DrawPhoto(painter);
    } else {
        // A photo made current without being shown is shown when the view is
        // painted. Once per path: a file that cannot be decoded stays black
        // instead of being decoded again at every paint.
        const QString current = m_display.CurrentPath();
        if (!current.isEmpty() && current != m_lazyTried && QFileInfo::exists(current)) {
            m_lazyTried = current;
            QMetaObject::invokeMethod(
                this,
                [this, current] {
                    if (m_display.CurrentPath() == current && m_display.ShownPicture().isNull())
                        m_display.ShowPath(current, true, false);
                },
                Qt::QueuedConnection);
        }
    }
    if (!m_dragFrame.isEmpty()) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(Qt::black);
        painter.drawRect(m_dragFrame.adjusted(0, 0, -1, -1));
    }
}

void CPhotoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

} // namespace QemControls
