#include "editor/core/EditorSettings.h"
#include "tests/TestSupport.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {
QSettings editorKey() { return QSettings("Orlemo", "Kelvana"); }
} // namespace

TEST(EditorSettings, DefaultsWhenMissing)
{
    EditorSettings s;
    s.Read();
    EXPECT_EQ(s.projectPath, EditorSettings::DefaultProjectPath());
    EXPECT_TRUE(s.projectPath.endsWith("/My Photo Albums"));
    EXPECT_EQ(s.lastPath, QString());
    EXPECT_EQ(s.treeWidth, 200);
    EXPECT_EQ(s.thumbZoom, 50);
}

TEST(EditorSettings, WrittenValuesReadBackAndZeroOrGarbageReadsAsDefault)
{
    EditorSettings s;
    s.projectPath = "/albums";
    s.lastPath = "/photos/trip";
    s.treeWidth = 260;
    s.thumbZoom = 75;
    s.Write();
    EditorSettings back;
    back.Read();
    EXPECT_EQ(back.projectPath, "/albums");
    EXPECT_EQ(back.lastPath, "/photos/trip");
    EXPECT_EQ(back.treeWidth, 260);
    EXPECT_EQ(back.thumbZoom, 75);

    {
        QSettings key = editorKey();
        key.setValue("RegExploreTreeWidth", 0);
        key.setValue("RegThumbViewScal", "lots");
    }
    back.Read();
    EXPECT_EQ(back.treeWidth, 200);
    EXPECT_EQ(back.thumbZoom, 50);
}

TEST(EditorSettings, AGarbageFileReadsWithoutHarm)
{
    const QString file = QSettings("Orlemo", "Kelvana").fileName();
    TestSupport::WriteAll(file, QByteArray("\x00\xff[[[General\nRegExploreTreeWidth=\x01\x02\n=\n[", 40));
    EditorSettings s;
    s.Read();
    EXPECT_EQ(s.treeWidth, 200);
    EXPECT_EQ(s.thumbZoom, 50);
}
