#include "editor/imaging/widgets/caption/TxtInputWnd.h"

#include "editor/imaging/CaptionFont.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

namespace QemControls {

using Geometry = CaptionBoxGeometry;

CTxtInputWnd::CInputEdit::CInputEdit(CTxtInputWnd& box)
    : QTextEdit(&box)
    , m_box(box)
{
    setObjectName(QStringLiteral("CaptionEdit"));
    setAccessibleName(QStringLiteral("Caption text"));
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDocumentMargin(0);
    // No background: the photo shows through the edit as through the box.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

void CTxtInputWnd::CInputEdit::mousePressEvent(QMouseEvent* event)
{
    QTextEdit::mousePressEvent(event);
    viewport()->update();
}

void CTxtInputWnd::CInputEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTextEdit::mouseDoubleClickEvent(event);
    emit m_box.EditDoubleClicked();
}

void CTxtInputWnd::CInputEdit::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    viewport()->update();
}

void CTxtInputWnd::CInputEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    if (!m_box.m_quiet)
        emit m_box.EditFocusLost();
}

CTxtInputWnd::CTxtInputWnd(QWidget* view)
    : QWidget(view)
{
    setObjectName(QStringLiteral("InputTextWnbd"));
    setAccessibleName(QStringLiteral("Caption"));
    setAccessibleDescription(PromptText());
    setMouseTracking(true);
    setGeometry(Geometry::DefaultBox());
}

void CTxtInputWnd::EnsureEdit()
{
    if (m_edit)
        return;
    m_edit = new CInputEdit(*this);
    ApplyColour();
    MakeCaptionFont();
    connect(m_edit, &QTextEdit::textChanged, this, [this] {
        GrowForText();
        m_edit->viewport()->update();
    });
    LayOut();
}

void CTxtInputWnd::SetEditingState()
{
    m_state = Editing;
    EnsureEdit();
    LayOut();
    m_edit->show();
    update();
}

void CTxtInputWnd::StartEditing()
{
    SetEditingState();
    m_edit->setFocus(Qt::MouseFocusReason);
    emit EditingStarted();
    MakeCaptionFont();
}

void CTxtInputWnd::Reset()
{
    m_state = Prompt;
    m_dragging = false;
    if (m_edit) {
        // The text box is going away with its text: leaving it is no edit to store.
        m_quiet = true;
        m_edit->clearFocus();
        m_edit->hide();
        m_edit->clear();
        m_quiet = false;
    }
    LayOut();
    update();
    setGeometry(Geometry::DefaultBox());
}

void CTxtInputWnd::SetCaptionFace(const QString& face)
{
    if (face.isEmpty())
        return;
    m_face = face;
    MakeCaptionFont();
}

void CTxtInputWnd::SetTextColour(QColor colour)
{
    m_colour = colour.isValid() ? colour : QColor(Qt::black);
    ApplyColour();
    update();
}

void CTxtInputWnd::SetFontSize(int size)
{
    m_size = size;
}

void CTxtInputWnd::MakeCaptionFont()
{
    if (m_face.isEmpty() || !m_edit)
        return;
    m_edit->setFont(::CaptionFont::Make(m_face, m_size, QGuiApplication::font()));
    GrowForText();
    m_edit->viewport()->update();
}

QFont CTxtInputWnd::CaptionFont() const
{
    if (m_edit)
        return m_edit->font();
    return m_face.isEmpty() ? QGuiApplication::font() : ::CaptionFont::Make(m_face, m_size, QGuiApplication::font());
}

QStringList CTxtInputWnd::TextLines() const
{
    if (!m_edit)
        return {};
    QTextDocument* document = m_edit->document();
    document->documentLayout()->documentSize(); // lays the whole text out
    QStringList shown;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0) {
            shown << text;
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            shown << text.mid(line.textStart(), line.textLength());
        }
    }
    return Geometry::StoredLines(shown);
}

void CTxtInputWnd::SetText(const QString& text)
{
    EnsureEdit();
    m_edit->setPlainText(text);
    m_edit->moveCursor(QTextCursor::End);
}

QString CTxtInputWnd::Text() const
{
    return m_edit ? m_edit->toPlainText() : QString();
}

void CTxtInputWnd::ApplyColour()
{
    if (!m_edit)
        return;
    QPalette palette = m_edit->palette();
    // The box has no background of its own, so the photo shows around the
    // letters; the letters themselves, white ones too, show as the album will.
    palette.setColor(QPalette::Text, m_colour);
    palette.setColor(QPalette::Base, Qt::transparent);
    m_edit->setPalette(palette);
    m_edit->viewport()->update();
}

void CTxtInputWnd::LayOut()
{
    if (!m_edit)
        return;
    const QRect text = Geometry::TextRect(size());
    m_edit->setGeometry(text);
    m_edit->setLineWrapColumnOrWidth(std::max(1, text.width()));
}

void CTxtInputWnd::GrowForText()
{
    if (!m_edit || m_state == Prompt)
        return;
    QTextDocument* document = m_edit->document();
    document->documentLayout()->documentSize();
    Geometry::Typing typing;
    const QRect text = Geometry::TextRect(size());
    typing.areaHeight = text.height();
    typing.areaWidth = text.width();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout)
            continue;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            typing.lineHeight = std::max(typing.lineHeight, int(std::ceil(line.height())));
            typing.lastLineWidth = int(std::ceil(line.naturalTextWidth()));
            ++typing.lineCount;
        }
    }
    const QFontMetrics metrics(m_edit->font());
    typing.charWidth = metrics.horizontalAdvance(QStringLiteral("Sample")) / 6;
    const int growth = Geometry::Growth(typing);
    if (growth > 0)
        resize(width(), height() + growth);
}

void CTxtInputWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CTxtInputWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_state == Prompt) {
        const QRect veil = rect().adjusted(2, 2, -2, -2);
        QPainterPath rounded;
        rounded.addRoundedRect(veil, 5, 5);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(rounded, QColor(0, 0, 165, 50));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(veil.adjusted(0, 0, -1, -1));
        painter.setPen(QColor(0, 255, 0));
        painter.setFont(QGuiApplication::font());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, PromptText());
        return;
    }
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(Geometry::FrameRect(size()).adjusted(0, 0, -1, -1));
    painter.setPen(QPen(QColor(0, 0, 168), 1));
    for (Geometry::DragMode handle : Geometry::kHandles)
        painter.drawRect(Geometry::HandleRect(size(), handle).adjusted(0, 0, -1, -1));
}

void CTxtInputWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (m_state == Prompt) {
        StartEditing();
        return;
    }
    m_dragging = true;
    m_dragMode = Geometry::HitTest(size(), event->position().toPoint());
    m_dragStart = geometry();
    m_dragPress = mapToParent(event->position().toPoint());
    m_dragFrame = m_dragStart;
    emit DragFrameChanged(m_dragFrame);
}

void CTxtInputWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_dragging) {
        m_dragFrame = Geometry::Dragged(m_dragStart, m_dragMode, m_dragPress, mapToParent(at));
        emit DragFrameChanged(m_dragFrame);
        return;
    }
    if (IsEditing())
        setCursor(Geometry::CursorFor(Geometry::HitTest(size(), at)));
    else
        unsetCursor();
}

void CTxtInputWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    emit DragFrameChanged(QRect());
    if (QWidget* view = parentWidget()) {
        view->update(m_dragStart.adjusted(-2, -2, 2, 2));
        view->update(m_dragFrame.adjusted(-2, -2, 2, 2));
    }
    setGeometry(m_dragFrame);
    update();
}

} // namespace QemControls
