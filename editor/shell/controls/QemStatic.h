// A label with its own background colour and text colour, drawn left-aligned,
// vertically centred, on one line, in the window's font. It shows the text
// its owner stored, or its window text while that is empty.
#pragma once

#include <QColor>
#include <QWidget>

class CQemStatic : public QWidget {
    Q_OBJECT
public:
    explicit CQemStatic(const QString& windowText = QString(), QWidget* parent = nullptr);

    void SetWindowText(const QString& text);
    QString WindowText() const { return m_windowText; }
    void SetStoredText(const QString& text);
    QString StoredText() const { return m_stored; }
    // What the label shows.
    QString DisplayedText() const { return m_stored.isEmpty() ? m_windowText : m_stored; }

    void SetBackgroundColour(const QColor& colour);
    void SetTextColour(const QColor& colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void TextChanged();

    QString m_windowText;
    QString m_stored;
    QColor m_background{213, 228, 242};
    QColor m_text{Qt::black};
};
