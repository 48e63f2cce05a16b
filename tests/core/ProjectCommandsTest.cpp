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

    messages.texts.clear();
    commands->OpenFolder(TestSupport::TempDir() + "Broken");
    EXPECT_EQ(messages.texts, QStringList{Strings::Load(Strings::LoadAlbumFailed)});
    EXPECT_EQ(album->Count(), 0);
    EXPECT_TRUE(album->Project().untitled);
    EXPECT_TRUE(album->Project().folder.isEmpty());
}

TEST_F(ProjectCommandsTest, SaveAsWritesIntoAFolderNamedAfterTheChosenFile)
{
    addPhoto("a.jpg");
    saveAsPath = TestSupport::MakeFolder("albums") + "/Trip.qem";
    EXPECT_EQ(commands->Save(), Result::Done);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_TRUE(QFileInfo::exists(TestSupport::TempDir() + "albums/Trip/Trip.qem"));
    EXPECT_EQ(commands->Title(), "Vantri Kelvana (Trip)");
    EXPECT_FALSE(album->Project().untitled);
    EXPECT_FALSE(album->Project().modified);

    // A named album saves in place, without a dialog.
    album->SetModified(true);
    EXPECT_EQ(commands->Save(), Result::Done);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_FALSE(album->Project().modified);
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
}
