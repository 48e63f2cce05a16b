#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/RecentProjects.h"
#include "editor/core/StringTable.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/ProjectHistoryCleanup.h"
#include "tests/RecordedMessages.h"
#include "tests/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using TestSupport::RecordedMessages;

using Answer = ProjectCommands::Answer;
using Result = ProjectCommands::Result;

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString app = TestSupport::MakeFolder("app");
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), "<E><Effect id=\"fade\" png=\"p.png\"/></E>");
        ASSERT_EQ(effects.Load(app), 1);
        album = std::make_unique<AlbumModel>(thumbnails, effects);
        commands = std::make_unique<ProjectCommands>(*album, messages);
        commands->SetPrompts({[this](const QString& question) {
                                  questions << question;
                                  return answer;
                              },
                              [this] { return openPath; },
                              [this](const QString&) {
                                  ++saveDialogs;
                                  return saveAsPath;
                              }});
        hub.Register(kSubjectPrjState, new CSubject);
    }
    void TearDown() override
    {
        hub.Unregister(kSubjectPrjState);
        TestSupport::ForgetProjectHistory();
    }

    void addPhoto(const QString& name)
    {
        album->AddPhoto(TestSupport::WritePhoto(pictures + "/" + name, 320, 240));
    }

    QString pictures = TestSupport::MakeFolder("pictures");
    ThumbnailCache thumbnails;
    EffectCatalogue effects;
    std::unique_ptr<AlbumModel> album;
    RecordedMessages messages;
    std::unique_ptr<ProjectCommands> commands;
    CSubjectManager& hub = *CSubjectManager::Manager();
    QStringList questions;
    Answer answer = Answer::Cancel;
    QString openPath, saveAsPath;
    int saveDialogs = 0;
};

} // namespace

// The close step every command shares, for each answer to the save question.
TEST_F(ProjectCommandsTest, CloseAsksToSaveAModifiedAlbumAndHonoursEachAnswer)
{
    struct Case {
        const char* name;
        bool modified;
        bool named;         // the album has a folder already
        Answer answer;
        const char* saveAs; // the save dialog's answer ("" = Cancel)
        Result result;
        bool emptied;
        bool saved;
    };
    const Case cases[] = {
        {"unmodified: no question", false, false, Answer::Cancel, "", Result::Done, true, false},
        {"cancel keeps the album", true, false, Answer::Cancel, "", Result::Cancelled, false, false},
        {"no discards", true, false, Answer::No, "", Result::Done, true, false},
        {"yes, untitled, dialog cancelled keeps the album", true, false, Answer::Yes, "", Result::Cancelled, false, false},
        {"yes, untitled, saved as", true, false, Answer::Yes, "Trip.qem", Result::Done, true, true},
        {"yes, named, saved in place", true, true, Answer::Yes, "", Result::Done, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString root = TestSupport::MakeFolder(QString("albums-%1").arg(&c - cases));
        album->Clear();
        album->ResetProject();
        addPhoto("a.jpg");
        if (c.named) {
            album->SetProjectFolder(root + "/Trip");
            album->SetUntitled(false);
        }
        album->SetModified(c.modified);
        questions.clear();
        answer = c.answer;
        saveAsPath = *c.saveAs ? root + "/" + c.saveAs : QString();

        EXPECT_EQ(commands->Close(), c.result);
        EXPECT_EQ(questions, c.modified ? QStringList{"Save changes to this Album?"} : QStringList{});
        EXPECT_EQ(album->IsEmpty(), c.emptied);
        EXPECT_EQ(QFileInfo::exists(root + "/Trip/Trip.qem"), c.saved);
        if (c.emptied) {
            EXPECT_TRUE(album->Project().untitled);
            EXPECT_TRUE(album->Project().folder.isEmpty());
            EXPECT_EQ(commands->Title(), "Vantri Kelvana");
        }
    }
}

TEST_F(ProjectCommandsTest, NewStartsAnUntitledAlbumUnlessCancelled)
{
    addPhoto("a.jpg");
    album->SetModified(true);
    answer = Answer::Cancel;
    EXPECT_EQ(commands->New(), Result::Cancelled);
    EXPECT_EQ(album->Count(), 1);
    // Yes for an untitled album, then Cancel in the save dialog.
    answer = Answer::Yes;
    saveAsPath.clear();
    EXPECT_EQ(commands->New(), Result::Cancelled);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(album->Count(), 1);
    EXPECT_TRUE(album->Project().modified);
    EXPECT_EQ(commands->Library().Count(), 0);

    int notices = 0;
    QObject::connect(commands.get(), &ProjectCommands::ProjectStateChanged, [&] { ++notices; });
    answer = Answer::No;
    EXPECT_EQ(commands->New(), Result::Done);
    EXPECT_TRUE(album->IsEmpty());
    EXPECT_TRUE(album->Project().untitled);
    EXPECT_EQ(commands->Title(), "Vantri Kelvana (Untitled)");
    EXPECT_EQ(notices, 2); // the close step, then the new album
}

TEST_F(ProjectCommandsTest, OpeningAFolderFillsTheAlbumAndNamesTheWindow)
{
    addPhoto("a.jpg");
    const QString folder = TestSupport::TempDir() + "Open";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    TestSupport::WriteAll(TestSupport::TempDir() + "Broken/Broken.qem", "<SaveDatas>");
    album->Clear();
    album->SetModified(false);

    EXPECT_FALSE(commands->OpenFolder(TestSupport::TempDir() + "Gone"));
    EXPECT_EQ(messages.texts, QStringList{TestSupport::TempDir() + "Gone was not found."});

    bool opened = false;
    EXPECT_EQ(commands->CloseAndOpen(folder, &opened), Result::Done);
    EXPECT_TRUE(opened);
    EXPECT_EQ(album->Count(), 1);
    EXPECT_EQ(album->Project().folder, folder);
    EXPECT_TRUE(album->Project().opened);
    EXPECT_FALSE(album->Project().untitled);
    EXPECT_FALSE(album->Project().modified);
    EXPECT_EQ(commands->Title(), "Vantri Kelvana (Open)");
    EXPECT_EQ(RecentProjects::Instance().Entries().value(0), folder);

    EXPECT_EQ(commands->Library().Count(), 1);

    // An unreadable project file, and a project file not named after its
    // folder (the folder's own N.qem is what is read): the album is emptied,
    // the user told, and neither the library nor the history gains an entry.
    TestSupport::WriteAll(TestSupport::TempDir() + "Misnamed/Other.qem",
                          TestSupport::ReadAll(folder + "/Open.qem"));
    const QStringList history = CHistoryRecord::Instance().Entries();
    for (const char* name : {"Broken", "Misnamed"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(commands->CloseAndOpen(folder), Result::Done);
        ASSERT_EQ(album->Count(), 1);
        messages.texts.clear();
        openPath = TestSupport::TempDir() + name + "/" + (QString(name) == "Misnamed" ? "Other.qem" : "Broken.qem");
        EXPECT_EQ(commands->Open(), Result::Done);
        EXPECT_EQ(messages.texts, QStringList{Strings::Load(Strings::LoadAlbumFailed)});
        EXPECT_EQ(album->Count(), 0);
        EXPECT_TRUE(album->Project().untitled);
        EXPECT_FALSE(album->Project().opened);
        EXPECT_TRUE(album->Project().folder.isEmpty());
        EXPECT_EQ(commands->Library().Count(), 1);
        EXPECT_EQ(CHistoryRecord::Instance().Entries(), history);
    }
}

// Opening goes through the library: the album's entry is added once, then
// found again by its header; a header changed on disk updates the entry.
TEST_F(ProjectCommandsTest, OpeningAFolderFindsOrAddsItsLibraryEntry)
{
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    const QString folder = TestSupport::TempDir() + "Trip";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    album->Clear();
    album->SetModified(false);

    AlbumLibrary& library = commands->Library();
    ASSERT_EQ(library.Count(), 0);
    ASSERT_TRUE(commands->OpenFolder(folder + "/"));
    ASSERT_EQ(library.Count(), 1);
    EXPECT_EQ(library.Selected(), 0);
    const LibraryEntry& entry = library.At(0);
    EXPECT_EQ(entry.projectFile, folder + "/Trip.qem");
    EXPECT_EQ(entry.photoCount, 2);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(entry.DateText(), QString("%1.%2.%3").arg(today.year()).arg(today.month()).arg(today.day()));
    EXPECT_FALSE(entry.picture.isNull());
    EXPECT_EQ(CHistoryRecord::Instance().Entries(), QStringList{folder});
    EXPECT_EQ(album->Count(), 2);
    EXPECT_EQ(commands->Title(), "Vantri Kelvana (Trip)");

    // Another album, then Trip again: its entry is found, not added.
    const QString other = TestSupport::TempDir() + "Other";
    ASSERT_TRUE(ProjectFile::Save(*album, other, false));
    ASSERT_TRUE(commands->OpenFolder(other));
    ASSERT_TRUE(commands->OpenFolder(folder));
    EXPECT_EQ(library.Count(), 2);
    EXPECT_EQ(library.Selected(), 0);

    // Trip saved elsewhere with one photo less: same entry, new header.
    album->RemovePhoto(1);
    ASSERT_TRUE(ProjectFile::Save(*album, folder, true));
    ASSERT_TRUE(commands->OpenFolder(folder));
    ASSERT_EQ(library.Count(), 2);
    EXPECT_EQ(library.At(0).photoCount, 1);
    EXPECT_EQ(library.Selected(), 0);

    // Double-click on the other album: cancelling the save question keeps Trip.
    album->SetModified(true);
    answer = Answer::Cancel;
    EXPECT_EQ(commands->CloseAndOpenLibraryItem(1), Result::Cancelled);
    EXPECT_EQ(album->Project().folder, folder);
    answer = Answer::No;
    EXPECT_EQ(commands->CloseAndOpenLibraryItem(1), Result::Done);
    EXPECT_EQ(album->Project().folder, other);
    EXPECT_TRUE(album->Project().opened);
    EXPECT_EQ(library.Selected(), 1);
}

// Delete of library items: the folders go to the desktop's trash; the open
// album among them becomes a new untitled album without a question.
TEST_F(ProjectCommandsTest, DeletingLibraryItemsTrashesTheirFoldersAndResetsTheOpenAlbum)
{
    addPhoto("a.jpg");
    const QString root = TestSupport::MakeFolder("albums");
    for (const char* name : {"Keep", "Old", "Open"})
        ASSERT_TRUE(ProjectFile::Save(*album, root + "/" + name, false));
    // A read-only file inside goes along.
    QFile::setPermissions(root + "/Old/Old.qem", QFile::ReadOwner);
    for (const char* name : {"Keep", "Old", "Open"})
        ASSERT_TRUE(commands->OpenFolder(root + "/" + name));
    album->SetModified(true); // no question is asked even so
    AlbumLibrary& library = commands->Library();
    ASSERT_EQ(library.Count(), 3);

    int notices = 0;
    QObject::connect(commands.get(), &ProjectCommands::ProjectStateChanged, [&] { ++notices; });
    commands->DeleteLibraryItems({2, 1});

    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(album->IsEmpty());
    EXPECT_TRUE(album->Project().untitled);
    EXPECT_FALSE(album->Project().modified);
    EXPECT_TRUE(album->Project().folder.isEmpty());
    EXPECT_EQ(commands->Title(), "Vantri Kelvana");
    ASSERT_EQ(library.Count(), 1);
    EXPECT_EQ(library.At(0).Folder(), root + "/Keep");
    EXPECT_EQ(CHistoryRecord::Instance().Entries(), QStringList{root + "/Keep"});
    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/";
    for (const char* name : {"Old", "Open"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(QFileInfo::exists(root + "/" + name));
        EXPECT_TRUE(QFileInfo::exists(trash + name + "/" + name + ".qem"));
    }
    EXPECT_TRUE(QFileInfo::exists(trash + "Old/photos"));
    EXPECT_TRUE(QFileInfo::exists(root + "/Keep/Keep.qem"));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(ProjectCommandsTest, SaveAsWritesIntoAFolderNamedAfterTheChosenFile)
{
    addPhoto("a.jpg");
    saveAsPath = TestSupport::MakeFolder("albums") + "/Trip.qem";
    EXPECT_EQ(commands->Save(), Result::Done);
    EXPECT_EQ(saveDialogs, 1);
    const QString trip = TestSupport::TempDir() + "albums/Trip";
    EXPECT_TRUE(QFileInfo::exists(trip + "/Trip.qem"));
    EXPECT_TRUE(QFileInfo(trip + "/photos").isDir());
    EXPECT_EQ(commands->Title(), "Vantri Kelvana (Trip)");
    EXPECT_EQ(album->Project().folder, trip);
    EXPECT_FALSE(album->Project().untitled);
    EXPECT_FALSE(album->Project().modified);
    EXPECT_EQ(CHistoryRecord::Instance().Entries(), QStringList{trip});
    EXPECT_EQ(RecentProjects::Instance().Entries().value(0), trip);
    // The library lists it, selected, with the header the write made.
    AlbumLibrary& library = commands->Library();
    ASSERT_EQ(library.Count(), 1);
    EXPECT_EQ(library.Selected(), 0);
    EXPECT_EQ(library.At(0).projectFile, trip + "/Trip.qem");
    EXPECT_EQ(library.At(0).photoCount, 1);
    EXPECT_FALSE(library.At(0).picture.isNull());

    // A named album saves in place, without a dialog.
    addPhoto("b.jpg");
    EXPECT_EQ(commands->Save(), Result::Done);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_FALSE(album->Project().modified);
    EXPECT_EQ(library.Count(), 1);
    EXPECT_EQ(library.At(0).photoCount, 2);

    // A folder chosen as the file to save is refused; the album stays as it was.
    album->ResetProject();
    album->SetModified(true);
    saveAsPath = trip;
    EXPECT_EQ(commands->Save(), Result::Cancelled);
    EXPECT_EQ(messages.texts, QStringList{Strings::Load(Strings::FolderHoldsProject)});
    EXPECT_TRUE(album->Project().untitled);
    EXPECT_TRUE(album->Project().modified);
    EXPECT_EQ(library.Count(), 1);
}

TEST_F(ProjectCommandsTest, AFailedSaveIsReportedAndKeepsTheAlbumModified)
{
    addPhoto("a.jpg");
    const QString blocker = TestSupport::TempDir() + "file";
    TestSupport::WriteAll(blocker, "not a folder");
    album->SetProjectFolder(blocker + "/Trip"); // under a file: cannot be made
    album->SetUntitled(false);
    album->SetModified(true);
    EXPECT_EQ(commands->Save(), Result::Done);
    EXPECT_TRUE(album->Project().modified);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("The album could not be saved")) << messages.texts[0].toStdString();
}

TEST_F(ProjectCommandsTest, SaveCopyAsOpensTheCopyOnlyForAnUntitledAlbum)
{
    addPhoto("a.jpg");
    const QString root = TestSupport::MakeFolder("copies");
    QString copyPath = root + "/First";
    commands->SetPrompts({nullptr, nullptr, nullptr, [&] { return copyPath; }});

    EXPECT_EQ(commands->SaveCopyAs(), Result::Done);
    EXPECT_TRUE(QFileInfo::exists(root + "/First/First.qem"));
    EXPECT_EQ(album->Project().folder, root + "/First"); // the untitled album became the copy
    EXPECT_FALSE(album->Project().untitled);

    copyPath = root + "/Second";
    EXPECT_EQ(commands->SaveCopyAs(), Result::Done);
    EXPECT_TRUE(QFileInfo::exists(root + "/Second/Second.qem"));
    EXPECT_EQ(album->Project().folder, root + "/First"); // a named album keeps its folder

    EXPECT_EQ(commands->SaveCopyAs(), Result::Done); // Second exists now
    EXPECT_EQ(messages.texts, QStringList{Strings::Load(Strings::FolderHoldsProject)});

    // Both copies are in the history and the library; the album's own is selected.
    EXPECT_EQ(CHistoryRecord::Instance().Entries(), (QStringList{root + "/First", root + "/Second"}));
    AlbumLibrary& library = commands->Library();
    ASSERT_EQ(library.Count(), 2);
    EXPECT_EQ(library.At(library.Selected()).Folder(), root + "/First");
}

// Without a usable trash the folder is neither erased nor forgotten.
TEST_F(ProjectCommandsTest, AnAlbumThatCannotGoToTheTrashStaysListed)
{
    addPhoto("a.jpg");
    const QString folder = TestSupport::TempDir() + "Trip";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    ASSERT_TRUE(commands->OpenFolder(folder));
    const QString blocker = TestSupport::TempDir() + "not-a-folder";
    TestSupport::WriteAll(blocker, "file");
    qputenv("XDG_DATA_HOME", (blocker + "/data").toUtf8()); // the trash cannot be made

    commands->DeleteLibraryItems({0});
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].endsWith("could not be moved to the trash.")) << messages.texts[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + "/Trip.qem"));
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + "/files/Trip")); // not a trash beside the program
    EXPECT_EQ(commands->Library().Count(), 1);
    EXPECT_EQ(CHistoryRecord::Instance().Entries(), QStringList{folder});
}

// A project whose photos have gone opens with the photos that are left, says
// which were left out, and writes nothing: the project file stays as it was
// until the user saves, and the album is not marked modified.
TEST_F(ProjectCommandsTest, AProjectWhosePhotosHaveGoneOpensWithTheRestAndSaysWhich)
{
    addPhoto("stays.jpg");
    addPhoto("gone.jpg");
    addPhoto("also-gone.jpg");
    const QString folder = TestSupport::TempDir() + "Faded";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    const QByteArray saved = TestSupport::ReadAll(folder + "/Faded.qem");
    album->Clear();
    album->SetModified(false);
    ASSERT_TRUE(QFile::remove(pictures + "/gone.jpg"));
    ASSERT_TRUE(QFile::remove(pictures + "/also-gone.jpg"));

    EXPECT_EQ(commands->CloseAndOpen(folder), Result::Done);
    ASSERT_EQ(album->Count(), 1);
    EXPECT_EQ(album->PathOf(0), pictures + "/stays.jpg");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains("gone.jpg") && messages.texts[0].contains("also-gone.jpg"))
        << messages.texts[0].toStdString();
    EXPECT_FALSE(messages.texts[0].contains("stays.jpg"));
    EXPECT_FALSE(album->Project().modified);
    EXPECT_EQ(commands->Title(), "Vantri Kelvana (Faded)");
    EXPECT_EQ(TestSupport::ReadAll(folder + "/Faded.qem"), saved);
}
