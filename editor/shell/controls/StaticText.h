// A line of text with its own font attributes, colours and background. The
// font starts as the parent's; the text is drawn in the window-text colour
// (grey when disabled) on the control's own background colour, or, without
// one, on the parent's background (the button face when there is no parent).
// With auto-size on, the control keeps itself as large as its text plus one
// pixel on every side.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class CStaticText : public QWidget {
    Q_OBJECT
public:
    explicit CStaticText(const QString& text = QString(), QWidget* parent = nullptr);

    QString Text() const { return m_text; }
    void SetText(const QString& text);

    // Font attributes; each keeps the others as they are. The height is in
    // pixels.
    void SetFaceName(const QString& face);
    void SetFontHeight(int pixels);
    void SetBold(bool bold);
    void SetItalic(bool italic);
    void SetUnderline(bool underline);

    // An invalid colour returns to the parent's background.
    void SetBackgroundColor(const QColor& colour);
    QColor BackgroundColor() const;

    void SetAutoSize(bool autoSize);
    bool AutoSize() const { return m_autoSize; }

    // The colour the text is drawn in now.
    virtual QColor TextColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyFont(const QFont& font);
    void FitToText();

    QString m_text;
    QColor m_background;
    bool m_autoSize = false;
};
