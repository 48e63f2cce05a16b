// The album library list and the explore area offscreen: what the items
// draw, the empty library's text, opening by double-click, Delete, and the
// "ButtonState" values of the area's switches.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumLibrary.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/HistoryRecord.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/shell/controls/CommandTarget.h"
#include "editor/shell/library/ExplorePane.h"
#include "editor/shell/library/LibraryItemLayout.h"
#include "editor/shell/library/PhotoPrjectsList.h"
#include "tests/ProjectHistoryCleanup.h"
#include "tests/RecordedMessages.h"
#include "tests/TestSupport.h"
#include "tests/shell/EditorContextTest.h"

#include <QDate>
#include <QFileInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The library list, recording every text it draws.
class RecordingList : public CPhotoPrjectsList {
public:
    using CPhotoPrjectsList::CPhotoPrjectsList;
    struct Text {
        QString text;
        QRect rect;
        int flags;
        int pixelSize;
    };
    std::vector<Text> texts;

protected:
    void DrawLabelText(QPainter& painter, const QString& text, const QRect& rect, int flags) override
    {
        texts.push_back({text, rect, flags, painter.font().pixelSize()});
        CPhotoPrjectsList::DrawLabelText(painter, text, rect, flags);
    }
};

class ValueRecorder : public CObserver {
public:
    std::vector<int> values;
    void Update(int value) override { values.push_back(value); }
};

class AlbumLibraryListTest : public EditorContextTest {
protected:
    void SetUp() override
    {
        MakeContext(messages);
        context->Projects().SetPrompts({[this](const QString&) { return answer; }, nullptr, nullptr, nullptr});
    }

    // An album folder root/NAME with `photos` photos, opened through the library.
    QString openAlbum(const QString& name, int photos)
    {
        AlbumModel& album = context->Album();
        album.Clear();
        for (int i = 0; i < photos; ++i)
            album.AddPhoto(TestSupport::WritePhoto(pictures + QString("/%1%2.jpg").arg(name).arg(i), 320, 240));
        const QString folder = root + "/" + name;
        EXPECT_TRUE(ProjectFile::Save(album, folder, false));
        EXPECT_TRUE(context->Projects().OpenFolder(folder));
        return folder;
    }

    // The list shown at a fixed size, painted now.
    void show(QWidget& widget)
    {
        widget.resize(520, 300);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }

    QString pictures = TestSupport::MakeFolder("pictures");
    QString root = TestSupport::MakeFolder("albums");
    TestSupport::RecordedMessages messages;
    ProjectCommands::Answer answer = ProjectCommands::Answer::No;
};

QPoint ItemCentre(const CPhotoListCtrl& list, int index)
{
    return list.CellRect(index).center();
}

// As a user does it: the first click selects, the second is the double-click.
void doubleClick(CPhotoListCtrl& list, int index)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, ItemCentre(list, index));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, ItemCentre(list, index));
}

} // namespace

TEST_F(AlbumLibraryListTest, AnEmptyLibraryShowsItsTextCentredInA15PixelFont)
{
    RecordingList list(*context);
    show(list);
    list.texts.clear();
    list.viewport()->grab();
    ASSERT_EQ(list.texts.size(), 1u);
    EXPECT_EQ(list.texts[0].text, "Has no existing photo album.");
    EXPECT_EQ(list.texts[0].rect, list.viewport()->rect());
    EXPECT_EQ(list.texts[0].flags & Qt::AlignCenter, Qt::AlignCenter);
    EXPECT_EQ(list.texts[0].pixelSize, 15);
}

TEST_F(AlbumLibraryListTest, ItemsDrawTheirPictureNameDateAndPhotoCount)
{
    const QString trip = openAlbum("Trip", 3);
    openAlbum("Ski", 1);
    RecordingList list(*context);
    show(list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemAt(0)->label, trip);
    EXPECT_EQ(list.Selection(), std::vector<int>{1}); // the open album
    // A screen reader hears the album's name, not its folder's path.
    EXPECT_EQ(list.AccessibleName(0), "Trip");
    const QString said = list.AccessibleDescription(0);
    EXPECT_TRUE(said.contains("Photos:3") && said.endsWith(trip)) << said.toStdString();

    // A picture with a white frame: stretched onto 80 x 80 at (10, 4).
    AlbumLibrary& library = context->Projects().Library();
    LibraryEntry entry = library.At(0);
    entry.picture = QImage(8, 8, QImage::Format_RGB32);
    entry.picture.fill(Qt::white);
    QPainter(&entry.picture).fillRect(2, 2, 4, 4, QColor(200, 0, 0));
    library.Replace(0, entry);

    list.texts.clear();
    const QImage shot = list.viewport()->grab().toImage();
    TestSupport::KeepScreenshot(shot, "album-library");
    const QDate today = QDate::currentDate();
    const QString date = QString("%1.%2.%3").arg(today.year()).arg(today.month()).arg(today.day());
    const QRect item(list.CellRect(0).topLeft(), LibraryItemLayout::kItemSize);
    const QRect band = LibraryItemLayout::TextRect(item);
    EXPECT_EQ(band, QRect(item.x() + 102, item.y() + 15, 98, 70));
    std::vector<QString> drawn;
    for (const auto& text : list.texts)
        if (text.rect == band)
            drawn.push_back(text.text);
    const std::vector<QString> expected{"Trip", date, "Photos:3", "Ski", date, "Photos:1"};
    EXPECT_EQ(drawn.size(), 3u) << "item 0 draws three texts in its band";
    std::vector<QString> all;
    for (const auto& text : list.texts)
        all.push_back(text.text);
    EXPECT_EQ(all, expected);

    const QRect picture = LibraryItemLayout::PictureRect(item);
    EXPECT_EQ(picture, QRect(item.x() + 10, item.y() + 4, 80, 80));
    const QColor middle = shot.pixelColor(picture.center());
    EXPECT_GT(middle.red(), 150);
    EXPECT_LT(middle.green(), 60);
    // The frame's corner: unstretched, the red square would be here.
    EXPECT_EQ(shot.pixelColor(picture.x() + 5, picture.y() + 5), QColor(Qt::white));
    // Texts are dark on the white cell somewhere in the band.
    int dark = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 128;
    EXPECT_GT(dark, 20);
}

TEST(LibraryItemLayout, OnlyPureWhiteBecomesTransparent)
{
    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    picture.setPixel(1, 0, qRgb(254, 255, 255));
    picture.setPixel(2, 0, qRgb(10, 20, 30));
    const QImage keyed = LibraryItemLayout::WhiteTransparent(picture);
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(254, 255, 255));
    EXPECT_EQ(keyed.pixel(2, 0), qRgb(10, 20, 30));
    EXPECT_TRUE(LibraryItemLayout::WhiteTransparent(QImage()).isNull());
}

TEST_F(AlbumLibraryListTest, DoubleClickClosesTheAlbumAndOpensTheItem)
{
    const QString trip = openAlbum("Trip", 2);
    const QString ski = openAlbum("Ski", 1);
    RecordingList list(*context);
    show(list);
    context->Album().SetModified(true);
    QSignalSpy clicks(&list, &CPhotoListCtrl::ItemDoubleClicked);

    answer = ProjectCommands::Answer::Cancel;
    doubleClick(list, 0);
    EXPECT_EQ(context->Album().Project().folder, ski);
    EXPECT_EQ(clicks.count(), 1);

    answer = ProjectCommands::Answer::No;
    doubleClick(list, 0);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(context->Album().Project().folder, trip);
    EXPECT_EQ(context->Album().Count(), 2);
    EXPECT_EQ(context->Projects().Title(), "Vantri Kelvana (Trip)");
    EXPECT_EQ(list.Selection(), std::vector<int>{0});
}

TEST_F(AlbumLibraryListTest, DeleteKeyAndForwardedDeleteTrashTheSelectedAlbums)
{
    const QString trip = openAlbum("Trip", 1);
    const QString ski = openAlbum("Ski", 1);
    const QString sea = openAlbum("Sea", 1);
    RecordingList list(*context);
    show(list);
    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/";

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, ItemCentre(list, 0));
    ASSERT_EQ(list.Selection(), std::vector<int>{0});
    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemAt(0)->label, ski);
    EXPECT_FALSE(QFileInfo::exists(trip));
    EXPECT_TRUE(QFileInfo::exists(trash + "Trip/Trip.qem"));
    EXPECT_EQ(context->Album().Project().folder, sea); // another album stays open

    // The open album, through the main window's forwarded Delete.
    list.ClearSelection();
    list.Select(1);
    EXPECT_TRUE(list.OnForwardedCommand(CommandTarget::kDelete));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.ItemAt(0)->label, ski);
    EXPECT_TRUE(QFileInfo::exists(trash + "Sea/Sea.qem"));
    EXPECT_TRUE(context->Album().IsEmpty());
    EXPECT_TRUE(context->Album().Project().untitled);
    EXPECT_EQ(CHistoryRecord::Instance().Entries(), QStringList{ski});
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(AlbumLibraryListTest, TheExploreAreaSwitchesWindowsAndRaisesButtonState)
{
    ValueRecorder button;
    hub.Find(kSubjectButtonState)->Attach(&button);
    CExplorePane pane(*context);
    auto* explorer = new QWidget;
    QStringList folders;
    pane.SetExploreWindow(explorer, [&](const QString& path) { folders << path; });
    show(pane);
    QSignalSpy switches(&pane, &CExplorePane::CurrentWindowChanged);
    EXPECT_TRUE(explorer->isVisible());
    EXPECT_FALSE(pane.Library()->isVisible());
    EXPECT_EQ(explorer->geometry(), pane.rect());

    pane.ShowLibrary();
    pane.ShowLibrary(); // already shown: the button stays pressed, nothing else
    EXPECT_EQ(button.values, (std::vector<int>{1, 1}));
    EXPECT_TRUE(pane.Library()->isVisible());
    EXPECT_FALSE(explorer->isVisible());
    EXPECT_EQ(pane.Library()->geometry(), pane.rect());
    EXPECT_EQ(switches.count(), 1);

    pane.ShowFolder("/photos/2024");
    EXPECT_EQ(button.values, (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(folders, QStringList{"/photos/2024"});
    EXPECT_TRUE(explorer->isVisible());
    EXPECT_FALSE(pane.Library()->isVisible());
    EXPECT_EQ(switches.count(), 2);

    pane.resize(600, 350);
    EXPECT_EQ(explorer->geometry(), pane.rect());
    hub.Find(kSubjectButtonState)->Detach(&button);
}
