// The caption input window: a see-through box over the photo in the editor
// view. While the photo has no caption it shows the prompt "Click to input
// text"; a click turns it into a text box with a dashed frame and eight
// handles by which it is moved and sized, holding a multi-line edit that takes
// the text in the caption's font, size and colour. The box paints no
// background, so the photo shows through it around the letters; the letters
// are drawn in the caption's colour, white included, as the album shows them.
//
// The view stores and restores the caption; it hears of the box through the
// notices EditingStarted, EditDoubleClicked and EditFocusLost.
#pragma once

#include "editor/imaging/widgets/caption/CaptionBoxGeometry.h"

#include <QColor>
#include <QFont>
#include <QTextEdit>
#include <QWidget>

namespace QemControls {

class CTxtInputWnd : public QWidget {
    Q_OBJECT
public:
    enum State { Prompt = 1, Stored = 2, Editing = 3 }; // Stored paints as Editing

    // The multi-line edit inside the box.
    class CInputEdit : public QTextEdit {
    public:
        explicit CInputEdit(CTxtInputWnd& box);

    protected:
        void mousePressEvent(QMouseEvent* event) override;
        void mouseDoubleClickEvent(QMouseEvent* event) override;
        void focusInEvent(QFocusEvent* event) override;
        void focusOutEvent(QFocusEvent* event) override;

    private:
        CTxtInputWnd& m_box;
    };

    static QString PromptText() { return QStringLiteral("Click to input text"); }

    explicit CTxtInputWnd(QWidget* view);

    int State() const { return m_state; }
    bool IsEditing() const { return m_state != Prompt; }
    // What a left press on the prompt does: the box becomes the text box with
    // the edit focused, the view hears EditingStarted (and loads a stored
    // caption), then the caption font is made.
    void StartEditing();
    // The text box without the notice: the view restoring a stored caption.
    void SetEditingState();
    // Back to the prompt: the edit hidden and emptied, the box 120 x 30 at
    // (180, 300).
    void Reset();

    // An empty face is ignored.
    void SetCaptionFace(const QString& face);
    QString Face() const { return m_face; }
    void SetTextColour(QColor colour);
    QColor TextColour() const { return m_colour; }
    // The caption size: the height of the font's character cell in pixels.
    void SetFontSize(int size);
    int FontSize() const { return m_size; }
    // Gives the edit the caption font, when a face was chosen and the edit exists.
    void MakeCaptionFont();
    // The font the caption is drawn in (the edit's font).
    QFont CaptionFont() const;

    // The text as shown, one entry per shown line (wrapped lines count
    // separately), each at most 255 characters.
    QStringList TextLines() const;
    // Restoring: the stored lines joined without separators.
    void SetText(const QString& text);
    QString Text() const;
    CInputEdit* Edit() const { return m_edit; } // null until first used

signals:
    void EditingStarted();
    void EditDoubleClicked();
    void EditFocusLost();
    // The frame a drag would leave the box at, in the view's coordinates;
    // an empty rectangle when the drag is over.
    void DragFrameChanged(QRect frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void EnsureEdit();
    void LayOut();
    void ApplyColour();
    void GrowForText();

    CInputEdit* m_edit = nullptr;
    int m_state = Prompt;
    QString m_face;
    QColor m_colour = Qt::black;
    int m_size = 20;
    bool m_quiet = false; // no notices while the box resets itself
    // The drag in progress.
    bool m_dragging = false;
    CaptionBoxGeometry::DragMode m_dragMode = CaptionBoxGeometry::Move;
    QRect m_dragStart;
    QPoint m_dragPress;
    QRect m_dragFrame;
};

} // namespace QemControls
