// An information box: a 1-pixel frame in the theme's shadow colour, filled
// with the owner's brush, the information picture at (3, 2), and the text in
// the info-text colour to the right of the picture, either word-wrapped or
// split into lines at each "\n".
#pragma once

#include <QBrush>
#include <QWidget>

class CStaticTip : public QWidget {
    Q_OBJECT
public:
    enum class Lines { WordWrap, SplitAtNewline };

    explicit CStaticTip(const QString& text = QString(), QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetBrush(const QBrush& brush);
    void SetLines(Lines lines);
    // The lines drawn when split at "\n".
    QStringList SplitLines() const { return m_text.split(QLatin1Char('\n')); }

    static constexpr QPoint kPicturePos{3, 2};
    // Where the text starts: right of the 16-pixel picture.
    static constexpr int kTextLeft = 3 + 16 + 4;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString m_text;
    QBrush m_brush;
    Lines m_lines = Lines::WordWrap;
};
