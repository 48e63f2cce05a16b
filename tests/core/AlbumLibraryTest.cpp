#include "editor/core/AlbumLibrary.h"
#include "editor/core/HistoryRecord.h"
#include "tests/TestSupport.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// A project folder F holding F/N.qem with the given header and, when asked,
// the thumbnail the header names.
QString WriteProject(const QString& name, int photos, const char* date, const QString& thumb = QString(),
                     QColor colour = Qt::red)
{
    const QString folder = TestSupport::TempDir() + "albums/" + name;
    const QStringList ymd = QString::fromLatin1(date).split('.');
    TestSupport::WriteAll(folder + "/" + name + ".qem",
                          QString("<SaveDatas><template/><photos/><project numphotos=\"%1\" year=\"%2\" month=\"%3\" "
                                  "day=\"%4\" prj_thumb=\"%5\"/></SaveDatas>")
                              .arg(photos)
                              .arg(ymd.value(0), ymd.value(1), ymd.value(2), thumb)
                              .toUtf8());
    if (!thumb.isEmpty() && !thumb.contains('/')) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(colour);
        picture.save(folder + "/" + thumb, "BMP");
    }
    return folder;
}

} // namespace

TEST(AlbumLibrary, ReadHeaderTakesTheProjectElementAndThePictureOfItsFolder)
{
    struct Case {
        const char* name;
        const char* thumb;
        bool picture;
    };
    const Case cases[] = {
        {"WithThumb", "WithThumb_thumb.bmp", true},
        {"NoThumb", "", false},
        {"MissingThumb", "gone.bmp", false},
        {"Outside", "../WithThumb/WithThumb_thumb.bmp", false}, // not followed out of the folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = WriteProject(c.name, 12, "2024.3.7", c.thumb);
        if (QString(c.thumb) == "gone.bmp")
            QFile::remove(folder + "/gone.bmp");
        LibraryEntry entry;
        ASSERT_TRUE(AlbumLibrary::ReadHeader(folder + "/", entry));
        EXPECT_EQ(entry.projectFile, folder + "/" + c.name + ".qem");
        EXPECT_EQ(entry.Folder(), folder);
        EXPECT_EQ(entry.Name(), c.name);
        EXPECT_EQ(entry.photoCount, 12);
        EXPECT_EQ(entry.DateText(), "2024.3.7");
        EXPECT_EQ(entry.PhotosText(), "Photos:12\n");
        EXPECT_EQ(!entry.picture.isNull(), c.picture);
        if (c.picture) {
            EXPECT_EQ(entry.picture.pixelColor(5, 5), QColor(Qt::red));
        }
    }

    // A project file not named after its folder is not the folder's project.
    const QString misnamed = TestSupport::TempDir() + "albums/Misnamed";
    TestSupport::WriteAll(misnamed + "/Other.qem", "<SaveDatas><project numphotos=\"1\"/></SaveDatas>");
    LibraryEntry untouched;
    untouched.photoCount = 99;
    EXPECT_FALSE(AlbumLibrary::ReadHeader(misnamed, untouched));
    EXPECT_EQ(untouched.photoCount, 99);
}

TEST(AlbumLibrary, FillingListsReadableHistoryFoldersInOrderAndKeepsTheOthersInTheHistory)
{
    const QString first = WriteProject("First", 3, "2023.12.31");
    const QString broken = TestSupport::TempDir() + "albums/Broken";
    TestSupport::WriteAll(broken + "/Broken.qem", "<SaveDatas><project");
    const QString empty = TestSupport::MakeFolder("albums/Empty");
    const QString gone = TestSupport::TempDir() + "albums/Gone";
    const QString second = WriteProject("Second", 5, "2025.1.2");

    CHistoryRecord history;
    for (const QString& folder : {second, broken, empty, gone, first})
        history.Add(folder);
    const QStringList before = history.Entries();

    AlbumLibrary library;
    QSignalSpy resets(&library, &AlbumLibrary::Reset);
    library.Fill(history);
    EXPECT_EQ(resets.count(), 1);
    ASSERT_EQ(library.Count(), 2);
    EXPECT_EQ(library.At(0).Folder(), second);
    EXPECT_EQ(library.At(1).Folder(), first);
    EXPECT_EQ(library.At(1).photoCount, 3);
    EXPECT_EQ(library.Selected(), -1);
    EXPECT_EQ(history.Entries(), before);
}

TEST(AlbumLibrary, RemovingEntriesKeepsTheSelectionOnItsAlbum)
{
    AlbumLibrary library;
    for (const char* name : {"A", "B", "C"}) {
        LibraryEntry entry;
        entry.projectFile = QString("/albums/%1/%1.qem").arg(name);
        library.Append(entry);
    }
    library.Select(2);
    library.Remove(0);
    EXPECT_EQ(library.Selected(), 1);
    EXPECT_EQ(library.At(library.Selected()).Name(), "C");
    EXPECT_EQ(library.IndexOfFolder("/albums/C/"), 1);

    QSignalSpy selections(&library, &AlbumLibrary::SelectionChanged);
    library.Remove(1);
    EXPECT_EQ(library.Selected(), -1);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(0).toInt(), -1);
}
