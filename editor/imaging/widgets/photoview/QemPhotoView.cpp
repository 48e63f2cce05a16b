#include "editor/imaging/widgets/photoview/QemPhotoView.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/widgets/caption/TxtInputWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using QemControls::CTxtInputWnd;

namespace {

// Caption records keep colours as 0x00BBGGRR.
uint32_t RecordColour(QColor colour)
{
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

QColor FromRecord(uint32_t colour)
{
    return QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

QRect FromBox(const CaptionBox& box)
{
    return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

CaptionBox ToBox(QRect rect)
{
    return CaptionBox{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

} // namespace

CQemPhotoView::CQemPhotoView(EditorContext& context, QWidget* parent)
    : CPhotoView(context.Display(), parent, true)
    , m_context(context)
{
    setMouseTracking(true);
    PhotoEditCommands& commands = m_context.EditCommands();
    connect(&commands, &PhotoEditCommands::CropModeChanged, this, &CQemPhotoView::OnCropModeChanged);
    connect(&commands, &PhotoEditCommands::RedEyeModeChanged, this,
            [this] { UpdateCursor(mapFromGlobal(QCursor::pos())); });
    connect(&m_crop, &CropTool::CropRequested, this, &CQemPhotoView::CropRequested);
    connect(&m_redEye, &RedEyeTool::RedEyeRequested, this, &CQemPhotoView::RedEyeRequested);

    AlbumModel& album = m_context.Album();
    connect(&album, &AlbumModel::PhotoRemoved, this, &CQemPhotoView::ForgetRemovedPhoto);
    connect(&album, &AlbumModel::Cleared, this, &CQemPhotoView::ForgetRemovedPhoto);
    connect(&album, &AlbumModel::BecameEmpty, this, [this] {
        m_shown = nullptr;
        ResetCaptionWindow();
    });
    if (commands.CropMode())
        OnCropModeChanged(true);
}

int CQemPhotoView::ShownIndex() const
{
    return m_shown ? m_context.Album().IndexOf(m_shown) : -1;
}

void CQemPhotoView::ForgetRemovedPhoto()
{
    if (m_shown && m_context.Album().IndexOf(m_shown) < 0)
        m_shown = nullptr;
}

void CQemPhotoView::OnPhotoChanged()
{
    AlbumModel& album = m_context.Album();
    // A caption being typed belongs to the photo shown until now: an edit of
    // that photo (Ctrl+R while typing, a tool button that takes no focus)
    // shows it again and would otherwise drop the text with the box.
    if (m_shown && CaptionWindow() && CaptionWindow()->IsEditing())
        StoreCaption();
    m_shown = nullptr;
    const QString path = Display().CurrentPath();
    if (!album.IsEmpty() && !path.isEmpty()) {
        // The photo the strip made current, else whichever album photo shows this file.
        int index = album.CurrentIndex();
        if (!album.IsValidIndex(index) || album.PathOf(index) != path) {
            index = -1;
            for (int i = 0; i < album.Count() && index < 0; ++i) {
                if (album.PathOf(i) == path)
                    index = i;
            }
        }
        if (index >= 0)
            m_shown = album.Photo(index);
    }
    const int index = ShownIndex();
    const Caption* caption = index >= 0 ? album.Item(index).caption.get() : nullptr;
    if (caption && caption->state != Caption::NoText && !caption->box.IsEmpty())
        ShowCaption();
    else
        ResetCaptionWindow();
}

void CQemPhotoView::StoreCaption()
{
    const int index = ShownIndex();
    CTxtInputWnd* box = CaptionWindow();
    if (index < 0 || !box)
        return;
    AlbumModel& album = m_context.Album();
    const Caption* stored = album.Item(index).caption.get();
    if (!box->IsEditing()) {
        // The prompt: the caption stays stored but is not shown in the box.
        if (stored && stored->state != Caption::NoText) {
            album.CaptionOf(index)->state = Caption::NoText;
            album.SetModified(true);
        }
        return;
    }
    const CaptionBox place = ToBox(box->geometry());
    const QStringList lines = box->TextLines();
    const uint32_t colour = RecordColour(box->TextColour());
    const int size = box->FontSize();
    const QString face = box->Face();
    if (!stored && Caption::StateFor(lines) == Caption::NoText)
        return; // an empty box on a photo without caption records nothing
    if (stored && stored->box == place && stored->lines == lines && stored->colour == colour && stored->size == size &&
        stored->font == face && stored->state == Caption::StateFor(lines))
        return;
    album.SetCaptionContent(index, place, lines, colour, size, face);
}

void CQemPhotoView::ShowCaption()
{
    const int index = ShownIndex();
    CTxtInputWnd* box = CaptionWindow();
    if (index < 0 || !box)
        return;
    const Caption* caption = m_context.Album().Item(index).caption.get();
    if (!caption || caption->box.IsEmpty())
        return;
    // Copies: the pane's answer to CaptionShown may store into the record.
    const QString face = caption->font;
    const int size = caption->size;
    const QColor colour = FromRecord(caption->colour);
    const QString url = caption->url;
    const QString text = caption->lines.join(QString());
    box->SetEditingState();
    box->setGeometry(FromBox(caption->box));
    box->SetCaptionFace(face);
    box->SetTextColour(colour);
    box->SetFontSize(size);
    box->MakeCaptionFont();
    box->SetText(text);
    box->update();
    emit CaptionShown(face, size, colour, url);
}

void CQemPhotoView::SetUrl(const QString& url)
{
    const int index = ShownIndex();
    if (index < 0)
        return;
    const Caption* stored = m_context.Album().Item(index).caption.get();
    if ((stored ? stored->url : QString()) == url)
        return;
    m_context.Album().SetCaptionUrl(index, url);
}

void CQemPhotoView::SetCaptionFace(const QString& face)
{
    if (CTxtInputWnd* box = CaptionWindow())
        box->SetCaptionFace(face);
    StoreCaption();
}

void CQemPhotoView::SetCaptionColour(QColor colour)
{
    if (CTxtInputWnd* box = CaptionWindow())
        box->SetTextColour(colour);
    StoreCaption();
}

void CQemPhotoView::SetCaptionSize(int size)
{
    if (CTxtInputWnd* box = CaptionWindow()) {
        box->SetFontSize(size);
        box->MakeCaptionFont();
    }
    StoreCaption();
}

void CQemPhotoView::OnCropModeChanged(bool on)
{
    if (on) {
        m_crop.Enter(DrawnRect());
        // Escape reaches the view while crop mode is on.
        setFocus(Qt::OtherFocusReason);
        repaint();
        return;
    }
    // A click beside the tracker has already ended the tool's mode and keeps
    // the tracker; every other way out of crop mode removes it.
    if (m_crop.Active())
        m_crop.Leave();
    update();
}

void CQemPhotoView::paintEvent(QPaintEvent* event)
{
    CPhotoView::paintEvent(event);
    QPainter painter(this);
    m_crop.Paint(painter);
}

void CQemPhotoView::mousePressEvent(QMouseEvent* event)
{
    PhotoEditCommands& commands = m_context.EditCommands();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        const bool cropping = m_crop.Active();
        commands.LeaveCropMode();
        commands.LeaveRedEyeMode();
        if (cropping)
            update();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    if (m_crop.Active() && !m_crop.Press(at))
        commands.LeaveCropMode(); // the tool keeps its tracker for the next crop
    if (commands.RedEyeMode())
        m_redEye.Click(at, DrawnRect());
    repaint();
}

void CQemPhotoView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_crop.Dragging()) {
        m_crop.Move(at);
        update();
    }
    UpdateCursor(at);
}

void CQemPhotoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_crop.Dragging()) {
        m_crop.Release();
        update();
    }
}

void CQemPhotoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_crop.DoubleClick(event->position().toPoint());
}

void CQemPhotoView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_crop.Active()) {
        m_context.EditCommands().LeaveCropMode();
        update();
        return;
    }
    CPhotoView::keyPressEvent(event);
}

void CQemPhotoView::UpdateCursor(QPoint at)
{
    if (const auto shape = m_crop.CursorAt(at)) {
        setCursor(*shape);
        return;
    }
    if (m_context.EditCommands().RedEyeMode() && DrawnRect().contains(at)) {
        static const QCursor redEye = RedEyeTool::Cursor();
        setCursor(redEye);
        return;
    }
    unsetCursor();
}
