#include "PhotoEditPane.h"

#include "ColourButton.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/shell/controls/QemBtnSplider.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/QemPopSliderCtrl.h"
#include "editor/shell/controls/QemStatic.h"
#include "editor/shell/controls/ShellTheme.h"

#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

CQemStatic* Label(const QString& text, QWidget* parent)
{
    auto* label = new CQemStatic(text, parent);
    label->SetBackgroundColour(ShellTheme::Current().Colours().panel);
    label->setAccessibleName(text);
    return label;
}

} // namespace

CPhotoEditPane::CPhotoEditPane(EditorContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setAccessibleName(tr("Photo Edit Pane"));
    setFocusPolicy(Qt::ClickFocus);

    auto* tools = new QHBoxLayout;
    tools->setSpacing(4);
    tools->addWidget(AddTool(RedEyeTool, QStringLiteral("Red-eye Removal"), PaneArt::Picture::RedEye));
    tools->addWidget(AddTool(CropTool, QStringLiteral("Crop"), PaneArt::Picture::Crop));
    tools->addWidget(AddTool(RotateLeftTool, QStringLiteral("90"), PaneArt::Picture::RotateLeft,
                             QStringLiteral("Rotate Left")));
    tools->addWidget(AddTool(RotateRightTool, QStringLiteral("90"), PaneArt::Picture::RotateRight,
                             QStringLiteral("Rotate Right")));
    tools->addWidget(AddTool(MirrorTool, QStringLiteral("Mirror"), PaneArt::Picture::Mirror));
    tools->addWidget(AddTool(ResetTool, QStringLiteral("Reset"), PaneArt::Picture::Reset));

    // The slider buttons read and write the current photo's stored values.
    const auto makeSlider = [this](int id, const QString& caption, PaneArt::Picture picture) {
        auto* button = new CQemBtnSplider(id, this);
        button->setObjectName(caption);
        button->SetCaption(caption);
        button->SetImages(PaneArt::Draw(picture));
        button->SetAlbum(&m_context.Album());
        connect(button, &CQemBtnSplider::ValueChanged, this, &CPhotoEditPane::SliderMoved);
        // After the button's own close handling, which stores the value.
        connect(button->Slider(), &CQemPopSliderCtrl::Closed, this, [this, id] { SliderClosed(id); });
        return button;
    };
    m_brightness = makeSlider(BrightnessSlider, QStringLiteral("Brightness"), PaneArt::Picture::Brightness);
    m_contrast = makeSlider(ContrastSlider, QStringLiteral("Contrast"), PaneArt::Picture::Contrast);
    tools->addWidget(m_brightness);
    tools->addWidget(m_contrast);
    tools->addStretch(1);

    m_link = new QLineEdit(QStringLiteral("http://"), this);
    QFont underlined = font();
    underlined.setUnderline(true);
    m_link->setFont(underlined);
    m_link->setAccessibleName(QStringLiteral("URL:"));
    connect(m_link, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_showing)
            emit UrlEdited(text);
    });

    m_font = new QFontComboBox(this);
    m_font->setAccessibleName(QStringLiteral("Font:"));
    m_size = new QComboBox(this);
    m_size->setAccessibleName(QStringLiteral("Size:"));
    m_colour = new ColourButton(this);
    m_colour->setAccessibleName(QStringLiteral("Color:"));

    auto* fields = new QGridLayout;
    fields->addWidget(Label(QStringLiteral("URL:"), this), 0, 0);
    fields->addWidget(m_link, 0, 1, 1, 3);
    fields->addWidget(Label(QStringLiteral("Font:"), this), 1, 0);
    fields->addWidget(m_font, 1, 1, 1, 3);
    fields->addWidget(Label(QStringLiteral("Size:"), this), 2, 0);
    fields->addWidget(m_size, 2, 1);
    fields->addWidget(Label(QStringLiteral("Color:"), this), 2, 2);
    fields->addWidget(m_colour, 2, 3);
    fields->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->addLayout(tools);
    column->addLayout(fields);
    column->addStretch(1);

    connect(m_colour, &ColourButton::ColourChosen, this, [this](const QColor& colour) {
        m_captionColour = colour;
        if (!m_showing)
            emit ColourChosen(colour);
    });
    connect(m_font, &QFontComboBox::currentFontChanged, this,
            [this](const QFont& font) { FaceSelected(font.family()); });
    connect(m_size, &QComboBox::currentTextChanged, this, &CPhotoEditPane::SizeSelected);

    // The interface font's face, which fills the size list; then size 20.
    m_font->setCurrentFont(QApplication::font());
    FaceSelected(m_font->currentFont().family());
    const int twenty = m_size->findText(QString::number(kInitialSize));
    if (twenty >= 0)
        m_size->setCurrentIndex(twenty);
    m_captionSize = kInitialSize;
}

CQemMFCButton* CPhotoEditPane::AddTool(Tool tool, const QString& caption, PaneArt::Picture picture,
                                       const QString& accessibleName)
{
    auto* button = new CQemMFCButton(this, tool);
    button->setToolTip(accessibleName.isEmpty() ? caption : accessibleName);
    button->SetImages(PaneArt::Draw(picture));
    button->SetCaption(caption);
    button->SetBorderStyle(false);
    if (!accessibleName.isEmpty()) {
        button->setObjectName(accessibleName);
        button->setAccessibleName(accessibleName); // both turn buttons read "90"
    } else {
        button->setObjectName(caption);
    }
    connect(button, &QPushButton::clicked, this, [this, tool] { RunTool(tool); });
    m_tools[tool] = button;
    return button;
}

CQemMFCButton* CPhotoEditPane::ToolButton(Tool tool) const
{
    const auto it = m_tools.find(tool);
    return it == m_tools.end() ? nullptr : it->second;
}

void CPhotoEditPane::RunTool(Tool tool)
{
    PhotoEditCommands& commands = m_context.EditCommands();
    switch (tool) {
    case RedEyeTool:
        commands.EnterRedEyeMode();
        break;
    case CropTool:
        commands.EnterCropMode();
        break;
    case RotateLeftTool:
        commands.RotateLeft();
        break;
    case RotateRightTool:
        commands.RotateRight();
        break;
    case MirrorTool:
        commands.Mirror();
        break;
    case ResetTool:
        Reset();
        break;
    default:
        break;
    }
}

void CPhotoEditPane::Reset()
{
    m_context.EditCommands().Reset();
    m_brightness->SetValue(0);
    m_contrast->SetValue(0);
    m_brightness->update();
    m_contrast->update();
    m_lastBrightness = 0;
    m_lastContrast = 0;
    AlbumModel& album = m_context.Album();
    const int index = album.CurrentIndex();
    if (album.IsValidIndex(index) && album.Item(index).photoState == LrItem::Current)
        album.SetAdjustments(index, 0, 0);
}

void CPhotoEditPane::SliderMoved(int controlId, int value)
{
    // Shown at once; the working copy is written when the slider closes.
    if (controlId == BrightnessSlider) {
        m_lastBrightness = value;
        m_brightnessMoved = true;
        m_brightness->SetValue(value);
        m_context.EditCommands().PreviewBrightness(value);
    } else if (controlId == ContrastSlider) {
        m_lastContrast = value;
        m_contrastMoved = true;
        m_contrast->SetValue(value);
        m_context.EditCommands().PreviewContrast(value);
    }
}

void CPhotoEditPane::SliderClosed(int controlId)
{
    if (controlId == BrightnessSlider && m_brightnessMoved) {
        m_brightnessMoved = false;
        m_context.EditCommands().Brightness(m_lastBrightness);
    } else if (controlId == ContrastSlider && m_contrastMoved) {
        m_contrastMoved = false;
        m_context.EditCommands().Contrast(m_lastContrast);
    }
}

void CPhotoEditPane::FaceSelected(const QString& face)
{
    if (face.isEmpty())
        return;
    m_face = face;
    if (!m_showing)
        emit FaceChosen(face);
    if (m_sizes.IsEmpty())
        FillSizes(face);
}

void CPhotoEditPane::FillSizes(const QString& face)
{
    const bool scalable = QFontDatabase::isSmoothlyScalable(face) || QFontDatabase::isScalable(face);
    std::vector<int> ems;
    if (!scalable) {
        for (int points : QFontDatabase::pointSizes(face)) {
            QFont font(face);
            font.setPointSize(points);
            ems.push_back(QFontInfo(font).pixelSize());
        }
    }
    const QScreen* screen = this->screen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    if (!m_sizes.FillIfEmpty(scalable, ems, dpi))
        return;
    const bool wasShowing = m_showing;
    m_showing = true; // filling selects the first entry; that is no choice
    m_size->addItems(m_sizes.Entries());
    m_showing = wasShowing;
}

void CPhotoEditPane::SizeSelected(const QString& text)
{
    const int size = FontSizeRules::SizeFromText(text);
    if (size <= 0)
        return;
    m_captionSize = size;
    if (!m_showing)
        emit SizeChosen(size);
}

void CPhotoEditPane::ShowCaptionProperties(const QString& face, int size, QColor colour, const QString& url)
{
    m_showing = true;
    m_link->setText(url.isEmpty() ? QStringLiteral("http://") : url);
    if (!face.isEmpty())
        m_font->setCurrentFont(QFont(face));
    if (size != 0) {
        const int index = m_size->findText(QString::number(size));
        if (index >= 0)
            m_size->setCurrentIndex(index);
    }
    if (colour.isValid()) {
        m_colour->SetColour(colour);
        m_captionColour = colour;
    }
    m_showing = false;
}

void CPhotoEditPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellTheme::Current().Colours().panel);
}

void CPhotoEditPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}
