// What OK of the Options dialog does with each kind of path and answer, and
// the dialog itself driven through its buttons.
#include "editor/core/StringTable.h"
#include "editor/shell/dialogs/DlgOption.h"
#include "editor/shell/dialogs/OptionsPathRule.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Answer = OptionsPathRule::Answer;

enum class PathKind { Empty, Existing, NewNested, QuestionMark };

struct PathCase {
    const char* name;
    PathKind kind;
    Answer answer;
    bool accepted;
    bool asked;
    bool toldFailure;
    bool created;
};

QString PathOf(PathKind kind)
{
    switch (kind) {
    case PathKind::Empty: return QString();
    case PathKind::Existing: return TestSupport::MakeFolder("albums");
    case PathKind::NewNested: return TestSupport::TempDir() + "one/two/three";
    case PathKind::QuestionMark: return TestSupport::TempDir() + "what?/albums";
    }
    return QString();
}

// Records what the user is asked and told, answering every question alike.
struct Recorder {
    Answer answer = Answer::Yes;
    QStringList asked;
    QStringList told;
    OptionsPathRule::Ask Ask()
    {
        return [this](const QString& q) {
            asked << q;
            return answer;
        };
    }
    OptionsPathRule::Tell Tell()
    {
        return [this](const QString& m) { told << m; };
    }
};

class OptionsPathCases : public ::testing::TestWithParam<PathCase> {};

} // namespace

TEST_P(OptionsPathCases, OkClosesOrStays)
{
    const PathCase c = GetParam();
    const QString path = PathOf(c.kind);
    Recorder recorder;
    recorder.answer = c.answer;
    EXPECT_EQ(OptionsPathRule(recorder.Ask(), recorder.Tell()).Accept(path), c.accepted);
    EXPECT_EQ(recorder.asked, c.asked ? QStringList{Strings::Load(Strings::CreateFolderQuestion)} : QStringList{});
    EXPECT_EQ(recorder.told, c.toldFailure ? QStringList{Strings::Load(Strings::CreateFolderFailed)} : QStringList{});
    if (!path.isEmpty()) {
        EXPECT_EQ(QDir(path).exists(), c.created);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OptionsPathCases,
    ::testing::Values(PathCase{"Empty", PathKind::Empty, Answer::Cancel, true, false, false, false},
                      PathCase{"Existing", PathKind::Existing, Answer::Cancel, true, false, false, true},
                      PathCase{"NewYes", PathKind::NewNested, Answer::Yes, true, true, false, true},
                      PathCase{"NewNo", PathKind::NewNested, Answer::No, true, true, false, false},
                      PathCase{"NewCancel", PathKind::NewNested, Answer::Cancel, false, true, false, false},
                      PathCase{"QuestionMarkYes", PathKind::QuestionMark, Answer::Yes, false, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OptionsPathRule, FailedCreationStaysOpen)
{
    // A folder the system refuses to make (here: below a plain file).
    const QString file = TestSupport::TempDir() + "plain";
    TestSupport::WriteAll(file, "x");
    Recorder recorder;
    EXPECT_FALSE(OptionsPathRule(recorder.Ask(), recorder.Tell()).Accept(file + "/albums"));
    EXPECT_EQ(recorder.told, QStringList{Strings::Load(Strings::CreateFolderFailed)});
}

TEST(DlgOption, OkCreatesTheFolderAndClosesWithThePath)
{
    CDlgOption dialog(QStringLiteral("/old"));
    Recorder recorder;
    dialog.SetPrompts(recorder.Ask(), recorder.Tell());
    dialog.show();
    EXPECT_EQ(dialog.PathEdit()->text(), QStringLiteral("/old"));
    const QString path = TestSupport::TempDir() + "a/b";
    dialog.PathEdit()->setText(path);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Path(), path);
    EXPECT_TRUE(QDir(path).exists());
}

TEST(DlgOption, InvalidNameKeepsTheDialogOpenAndEscapeCancels)
{
    CDlgOption dialog{QString()};
    Recorder recorder;
    dialog.SetPrompts(recorder.Ask(), recorder.Tell());
    dialog.show();
    dialog.PathEdit()->setText(TestSupport::TempDir() + "bad?");
    QTest::keyClick(dialog.PathEdit(), Qt::Key_Return); // OK is the default button
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(recorder.told, QStringList{Strings::Load(Strings::CreateFolderFailed)});
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(DlgOption, BrowseReplacesThePathUnlessCancelled)
{
    CDlgOption dialog(QStringLiteral("/start"));
    QString picked = QStringLiteral("/picked/folder");
    QString startedAt;
    dialog.SetFolderPicker([&](QWidget* owner, const QString& start) {
        EXPECT_EQ(owner, &dialog);
        startedAt = start;
        return picked;
    });
    dialog.show();
    QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(startedAt, QStringLiteral("/start"));
    EXPECT_EQ(dialog.PathEdit()->text(), QStringLiteral("/picked/folder"));
    EXPECT_EQ(dialog.Path(), QStringLiteral("/picked/folder"));
    picked.clear();
    QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.PathEdit()->text(), QStringLiteral("/picked/folder"));
    EXPECT_TRUE(dialog.isVisible());
}
