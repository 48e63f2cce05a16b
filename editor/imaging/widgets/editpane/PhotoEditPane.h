// The photo edit pane, shown while a photo is current in the transition
// strip: the pixel tools (red-eye removal, crop, rotate left and right,
// mirror, reset), the brightness and contrast slider buttons, and the
// caption's link, font, size and colour.
//
// The pixel tools go straight to the edit commands. A slider previews its
// value on the canvas while it moves and the command writes the working copy
// once, when the slider closes. The caption properties are requests: the
// pane emits them and the photo view applies them to its caption window.
#pragma once

#include "FontSizeRules.h"
#include "PaneArt.h"

#include <QColor>
#include <QWidget>
#include <map>

class CQemBtnSplider;
class CQemMFCButton;
class ColourButton;
class EditorContext;
class QComboBox;
class QFontComboBox;
class QLineEdit;

class CPhotoEditPane : public QWidget {
    Q_OBJECT
public:
    // Control ids of the tools.
    enum Tool {
        RedEyeTool = 1044,
        CropTool = 1045,
        RotateLeftTool = 1009,
        RotateRightTool = 1010,
        MirrorTool = 1011,
        ResetTool = 1014,
        BrightnessSlider = 324,
        ContrastSlider = 325,
    };
    static constexpr int kInitialSize = 20;

    CPhotoEditPane(EditorContext& context, QWidget* parent = nullptr);

    CQemMFCButton* ToolButton(Tool tool) const;
    CQemBtnSplider* BrightnessButton() const { return m_brightness; }
    CQemBtnSplider* ContrastButton() const { return m_contrast; }
    QLineEdit* LinkEdit() const { return m_link; }
    QFontComboBox* FontBox() const { return m_font; }
    QComboBox* SizeBox() const { return m_size; }
    ColourButton* ColourBox() const { return m_colour; }

    // The caption properties chosen in the pane (colour invalid: automatic).
    QString CaptionFace() const { return m_face; }
    int CaptionSize() const { return m_captionSize; }
    QColor CaptionColour() const { return m_captionColour; }
    int LastBrightness() const { return m_lastBrightness; }
    int LastContrast() const { return m_lastContrast; }

    // Tool 1014: the photo's pixel edits undone; sliders and the photo's
    // stored brightness and contrast back to 0.
    void Reset();

public slots:
    // A photo became current: its caption's properties. An empty url shows
    // "http://"; an empty face, size 0 or an invalid colour leave the
    // control as it is. Emits nothing.
    void ShowCaptionProperties(const QString& face, int size, QColor colour, const QString& url);

signals:
    void FaceChosen(const QString& face);
    void SizeChosen(int size);
    void ColourChosen(const QColor& colour);
    void UrlEdited(const QString& url);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CQemMFCButton* AddTool(Tool tool, const QString& caption, PaneArt::Picture picture,
                           const QString& accessibleName = {});
    void RunTool(Tool tool);
    void FaceSelected(const QString& face);
    void SizeSelected(const QString& text);
    void FillSizes(const QString& face);
    void SliderMoved(int controlId, int value);
    void SliderClosed(int controlId);

    EditorContext& m_context;
    std::map<int, CQemMFCButton*> m_tools;
    CQemBtnSplider* m_brightness;
    CQemBtnSplider* m_contrast;
    QLineEdit* m_link;
    QFontComboBox* m_font;
    QComboBox* m_size;
    ColourButton* m_colour;
    FontSizeRules::SizeList m_sizes;

    QString m_face;
    int m_captionSize = kInitialSize;
    QColor m_captionColour; // automatic
    int m_lastBrightness = 0;
    int m_lastContrast = 0;
    bool m_brightnessMoved = false;
    bool m_contrastMoved = false;
    bool m_showing = false; // showing a photo's properties: no requests go out
};
