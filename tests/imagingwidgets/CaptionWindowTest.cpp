// The caption input window on a canvas of its own: its prompt, a handle drag
// that stops at 120 x 30, the box growing while the user types, the photo
// showing around the letters (white letters included), and a caption drawn in the box exactly as the export
// burns it into the photo.
#include "editor/core/Caption.h"
#include "editor/generation/PhotoExport.h"
#include "editor/imaging/CaptionFont.h"
#include "editor/imaging/widgets/caption/TxtInputWnd.h"
#include "tests/TestSupport.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using QemControls::CTxtInputWnd;

const QString kFace = QStringLiteral("DejaVu Sans");

// A canvas with a picture on it, standing in for the editor view.
class Canvas : public QWidget {
public:
    explicit Canvas(QImage picture)
        : m_picture(std::move(picture))
    {
        setFixedSize(480, 360);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture); }

private:
    QImage m_picture;
};

QImage Picture(QColor colour)
{
    QImage picture(480, 360, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// The rows of a picture's area that hold ink (pixels other than the
// background), grouped into bands with their leftmost and rightmost column.
struct Band {
    int top, bottom, left, right;
};
std::vector<Band> InkBands(const QImage& picture, QRect area, QColor background)
{
    std::vector<Band> bands;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int left = -1, right = -1;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (picture.pixelColor(x, y) != background) {
                if (left < 0)
                    left = x;
                right = x;
            }
        }
        if (left < 0) {
            inBand = false;
            continue;
        }
        if (!inBand)
            bands.push_back(Band{y, y, left, right});
        Band& band = bands.back();
        band.bottom = y;
        band.left = std::min(band.left, left);
        band.right = std::max(band.right, right);
        inBand = true;
    }
    return bands;
}

class CaptionWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFontDatabase::hasFamily(kFace))
            GTEST_SKIP() << "the caption face is not installed";
        canvas = std::make_unique<Canvas>(Picture(Qt::white));
        box = new CTxtInputWnd(canvas.get());
        canvas->show();
        canvas->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(canvas.get()));
    }
    void startTyping()
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(60, 15));
        ASSERT_EQ(box->State(), CTxtInputWnd::Editing);
        box->SetCaptionFace(kFace);
        box->SetFontSize(20);
        box->MakeCaptionFont();
    }

    std::unique_ptr<Canvas> canvas;
    CTxtInputWnd* box = nullptr;
};

TEST_F(CaptionWindowTest, StartsAsThePromptAndEditsOnAClick)
{
    EXPECT_EQ(box->geometry(), QRect(180, 300, 120, 30));
    EXPECT_EQ(box->State(), CTxtInputWnd::Prompt);
    EXPECT_EQ(box->accessibleName(), "Caption");
    EXPECT_EQ(box->Edit(), nullptr);
    startTyping();
    ASSERT_TRUE(box->Edit());
    EXPECT_TRUE(box->Edit()->hasFocus());
    EXPECT_EQ(box->Edit()->geometry(), QRect(4, 6, 112, 20));
}

TEST_F(CaptionWindowTest, HandleDragStopsAt120By30)
{
    startTyping();
    const struct {
        QPoint handle; // in the box
        QPoint to;     // in the canvas
        QRect result;
    } cases[] = {
        {{117, 27}, {100, 100}, {180, 300, 120, 30}}, // bottom-right up-left
        {{117, 27}, {350, 350}, {180, 300, 170, 50}},
        {{1, 1}, {100, 280}, {100, 280, 250, 70}},    // top-left out
        {{30, 1}, {50, 50}, {20, 49, 250, 70}},       // the frame beside the handles moves
    };
    for (const auto& c : cases) {
        const QPoint press = box->mapToParent(c.handle);
        QTest::mousePress(box, Qt::LeftButton, {}, c.handle);
        QTest::mouseMove(box, c.to - box->pos());
        QTest::mouseRelease(box, Qt::LeftButton, {}, c.to - box->pos());
        EXPECT_EQ(box->geometry(), c.result) << press.x() << "," << press.y();
    }
}

TEST_F(CaptionWindowTest, TypingWrapsAndGrowsDownwards)
{
    startTyping();
    const QString typed = QStringLiteral("one two three four five six seven");
    const int lineHeight = int(std::ceil(box->Edit()->document()->firstBlock().layout()->lineAt(0).height()));
    ASSERT_GT(lineHeight, 0);
    int lastHeight = box->height();
    int growths = 0;
    for (QChar c : typed) {
        QTest::keyClick(box->Edit(), c.toLatin1());
        // Downwards, at most one line at a time.
        EXPECT_GE(box->height(), lastHeight);
        EXPECT_LE(box->height() - lastHeight, lineHeight);
        growths += box->height() > lastHeight;
        lastHeight = box->height();
    }
    const QStringList lines = box->TextLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_GE(growths, lines.size() - 1);
    EXPECT_EQ(lines.join(QString()), typed);
    const QFontMetrics metrics(box->CaptionFont());
    const int textWidth = CaptionBoxGeometry::TextRect(box->size()).width();
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), textWidth) << line.toStdString();
    // The box kept its place and width and shows every line.
    EXPECT_EQ(box->geometry().topLeft(), QPoint(180, 300));
    EXPECT_EQ(box->width(), 120);
    EXPECT_LE(box->Edit()->document()->size().height(), box->Edit()->height());
}

// The photo shows through the box around the letters, and the letters show
// in their colour: a white caption on a photo is seen, as the album shows it.
TEST_F(CaptionWindowTest, ThePhotoShowsAroundLettersOfAnyColour)
{
    canvas = std::make_unique<Canvas>(Picture(QColor(40, 90, 160)));
    box = new CTxtInputWnd(canvas.get());
    canvas->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(canvas.get()));
    box->SetEditingState();
    box->SetCaptionFace(kFace);
    box->SetFontSize(20);
    box->MakeCaptionFont();
    const QRect text = box->geometry().adjusted(4, 6, -4, -4);
    for (QColor colour : {QColor(Qt::white), QColor(Qt::black), QColor(Qt::yellow)}) {
        SCOPED_TRACE(colour.name().toStdString());
        box->SetTextColour(colour);
        box->SetText("Hello");
        const QImage shown = canvas->grab(text).toImage();
        int photo = 0, letters = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor pixel = shown.pixelColor(x, y);
                photo += pixel == QColor(40, 90, 160) ? 1 : 0;
                letters += pixel == colour ? 1 : 0;
            }
        EXPECT_GT(photo, shown.width() * shown.height() / 2); // mostly the photo
        EXPECT_GT(letters, 20);                               // and solid letters
    }
}

TEST_F(CaptionWindowTest, BoxDrawsTheCaptionAsTheExportDoes)
{
    box->SetEditingState();
    box->setGeometry(100, 100, 220, 100);
    box->SetCaptionFace(kFace);
    box->SetFontSize(20);
    box->SetTextColour(Qt::black);
    box->MakeCaptionFont();
    box->SetText("The quick brown fox jumps over the lazy dog");
    const QStringList lines = box->TextLines();
    ASSERT_GE(lines.size(), 2);

    Caption caption;
    caption.box = CaptionBox{100, 100, 320, 200};
    caption.lines = lines;
    caption.size = 20;
    caption.font = kFace;
    QImage exported = Picture(Qt::white);
    PhotoExporter::RenderCaption(caption, exported);
    const QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The same font at the same pixel size.
    EXPECT_EQ(box->CaptionFont().pixelSize(), CaptionFont::Make(kFace, 20, QFont()).pixelSize());
    EXPECT_EQ(box->CaptionFont().family(), kFace);
    // The area both draw text in: the box less its frame.
    const QRect area = PhotoExporter::MapCaptionBox(caption.box, 480, 360)
                           .intersected(box->geometry().adjusted(4, 6, -4, -4));
    ASSERT_EQ(area, QRect(104, 106, 212, 90));
    const std::vector<Band> inBox = InkBands(shown, area, Qt::white);
    const std::vector<Band> inExport = InkBands(exported, area, Qt::white);
    ASSERT_EQ(inBox.size(), size_t(lines.size()));
    ASSERT_EQ(inExport.size(), inBox.size());
    for (size_t i = 0; i < inBox.size(); ++i) {
        EXPECT_EQ(inBox[i].top, inExport[i].top) << i;
        EXPECT_EQ(inBox[i].bottom, inExport[i].bottom) << i;
        EXPECT_EQ(inBox[i].left, inExport[i].left) << i;
        EXPECT_EQ(inBox[i].right, inExport[i].right) << i;
    }
    EXPECT_LT(TestSupport::MeanDifference(shown.copy(area), exported.copy(area)), 1.0);
}

} // namespace
