// The editor's visual theme: the number stored as "ApplicationLook" (210 to
// 218, default 215) picks the colours of the panels, their shadow lines and
// the top band. Every theme keeps the light-blue look of the panes; the
// numbers differ only in these colours. Widget-free so that the controls and
// their tests share it.
#pragma once

#include <QColor>
#include <QObject>

struct ShellColours {
    QColor panel;       // pane and button-band background
    QColor shadow;      // separator lines, frames
    QColor bandTop;     // top band gradient, top
    QColor bandBottom;  // top band gradient, bottom
    QColor darkEdge;    // thumbnail label gradient, start
    QColor lightEdge;   // thumbnail label gradient, end
    QColor face;        // thumbnail list background
};

class ShellTheme : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirst = 210;
    static constexpr int kLast = 218;
    static constexpr int kDefault = 215;

    // The theme of the running editor (created on first use, theme 215).
    static ShellTheme& Current();

    static bool IsTheme(int number) { return number >= kFirst && number <= kLast; }
    // The colours of a theme; an unknown number gives those of 215.
    static ShellColours ColoursOf(int number);

    int Number() const { return m_number; }
    const ShellColours& Colours() const { return m_colours; }
    // Ignores numbers outside 210..218; emits Changed when the number changes.
    void SetNumber(int number);

    // "ApplicationLook" of the framework profile (organisation "Qem").
    void Load();
    void Save() const;

signals:
    void Changed(int number);

private:
    int m_number = kDefault;
    ShellColours m_colours = ColoursOf(kDefault);
};
