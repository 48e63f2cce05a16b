#include "common/FileUtils.h"
#include "editor/core/ProjectFile.h"
#include "editor/generation/GenerationKinds.h"
#include "editor/generation/BatchGenerate.h"
#include "tests/generation/GenerationFixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <zip.h>

namespace {

// Runs a copy of the editor that lives in the fixture's installation, so that
// it reads the fixture's catalogues and templates.
class BatchTest : public GenerationFixture {
protected:
    void SetUp() override
    {
        GenerationFixture::SetUp();
        program = app + "Kelvana";
        ASSERT_TRUE(QFile::copy(TestSupport::AppDir() + "/Kelvana", program));
    }

    struct Run {
        int status = -1;
        bool crashed = false;
        QString out, err;
    };
    Run run(const QStringList& arguments, const QString& shellPrefix = QString()) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM"); // batch runs find their way without a display
        process.setProcessEnvironment(env);
        if (shellPrefix.isEmpty()) {
            process.start(program, arguments);
        } else {
            QStringList quoted;
            for (const QString& a : QStringList{program} + arguments)
                quoted << "'" + a + "'";
            process.start("/bin/sh", {"-c", shellPrefix + " exec " + quoted.join(' ')});
        }
        process.waitForFinished(120000);
        return Run{process.exitCode(), process.exitStatus() == QProcess::CrashExit,
                   QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    // A saved project of three photos, one of them captioned.
    QString saveProject(const QString& name)
    {
        addPhoto("a.jpg");
        addPhoto("b.png");
        addPhoto("c.bmp");
        album->SetCaptionContent(0, CaptionBox{20, 300, 460, 350}, {"Hello"}, 0xffffff, 20, "Sans");
        album->SetTemplateIndex(Strip);
        const QString folder = TestSupport::TempDir() + name;
        EXPECT_TRUE(ProjectFile::Save(*album, folder, false));
        return folder + "/" + name + ".qem";
    }

    QString program;
};

// The names of the entries of a ZIP archive.
QStringList ArchiveEntries(const QString& path)
{
    QStringList names;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
        names << QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), 0));
    zip_close(zip);
    names.sort();
    return names;
}

} // namespace

TEST(BatchArguments, ParseTheCommandLine)
{
    struct Case {
        QStringList arguments;
        bool ok;
        QString kind;
        int templateIndex;
    } cases[] = {
        {{"--generate", "p.qem", "--output", "out"}, true, "folder", -1},
        {{"--output", "out", "--generate", "p.qem", "--kind", "folder", "--template", "1"}, true, "folder", 1},
        {{"--generate", "p.qem"}, false, "", 0},
        {{"--generate", "p.qem", "--output"}, false, "", 0},
        {{"--generate", "p.qem", "--output", "o", "--kind", "hologram"}, false, "", 0},
        {{"--generate", "p.qem", "--output", "o", "--template", "x"}, false, "", 0},
        {{"--generate", "p.qem", "--output", "o", "--template", "-2"}, false, "", 0},
        {{"--generate", "p.qem", "--output", "o", "extra"}, false, "", 0},
        {{"--generate", "--output", "o"}, false, "", 0},           // an option is not a value
        {{"--generate", "p.qem", "--output", "--kind", "exe"}, false, "", 0},
        {{"--output", "o", "--kind", "exe"}, false, "", 0},        // batch options need --generate
        {{"--generate", "./--odd.qem", "--output", "o"}, true, "folder", -1},
    };
    for (const Case& c : cases) {
        BatchGenerate::Arguments parsed;
        QString error;
        EXPECT_EQ(BatchGenerate::Parse(c.arguments, parsed, error), c.ok) << c.arguments.join(' ').toStdString();
        if (c.ok) {
            EXPECT_EQ(parsed.kind, c.kind);
            EXPECT_EQ(parsed.templateIndex, c.templateIndex);
            EXPECT_TRUE(parsed.project.endsWith(".qem"));
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
    BatchGenerate::Arguments help;
    QString error;
    EXPECT_TRUE(BatchGenerate::Parse({"--help"}, help, error));
    EXPECT_TRUE(help.help);
    EXPECT_TRUE(BatchGenerate::HelpText().contains("--generate PROJECT.qem"));
}

TEST(BatchArguments, ACancelSaysWhatWasLeft)
{
    GenerationResult cancelled;
    cancelled.cancelled = true;
    GenerationResult failed;
    failed.error = "cannot write /o/photo/a.jpg";
    struct Case {
        QString kind;
        const GenerationResult* result;
        QString text;
    } cases[] = {
        {"exe", &cancelled, "generation cancelled; nothing was written to /o/Trip"},
        {"zip", &cancelled, "generation cancelled; nothing was written to /o/Trip"},
        {"folder", &cancelled, "generation cancelled; /o/Trip is incomplete"},
        {"screensaver", &cancelled, "generation cancelled; /o/Trip is incomplete"},
        {"exe", &failed, "generation failed: cannot write /o/photo/a.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatchGenerate::FailureText(c.kind, *c.result, "/o/Trip"), c.text) << c.kind.toStdString();
}

TEST_F(BatchTest, GeneratesAFolderAlbumWithoutADisplay)
{
    const QString project = saveProject("Holiday");
    const QString output = TestSupport::TempDir() + "Out/Holiday";
    const Run result = run({"--generate", project, "--output", output});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, output + "/Holiday.html\n");
    EXPECT_TRUE(result.err.contains("photo 3 of 3")) << result.err.toStdString();
    EXPECT_EQ(QDir(output).entryList(QDir::Files, QDir::Name), QStringList({"Holiday.html", "Holiday.js", "Holiday.xml"}));
    // The project's template (Strip, with thumbnails) unless another is asked for.
    EXPECT_TRUE(TestSupport::ReadAll(output + "/Holiday.xml").contains("jpegURL=\"thumbs/thumb_a.jpg\""));
    EXPECT_EQ(QDir(output + "/photo").entryList(QDir::Files, QDir::Name), QStringList({"a.jpg", "b.png", "c.jpg"}));

    const Run plain = run({"--generate", project, "--output", output, "--kind", "folder", "--template", "0"});
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(TestSupport::ReadAll(output + "/Holiday.js"), "// movie plain\n");

    const Run help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--generate"));

    // A display that is named but cannot be reached changes nothing.
    const Run unreachable = run({"--generate", project, "--output", output}, "export DISPLAY=:9471;");
    EXPECT_FALSE(unreachable.crashed);
    EXPECT_EQ(unreachable.status, 0) << unreachable.err.toStdString();
}

TEST_F(BatchTest, PhotosLeftOutOfTheAlbumAreNamed)
{
    const QString project = saveProject("Trip");
    QFile::remove(pictures + "b.png");
    TestSupport::WriteAll(pictures + "c.bmp", "not a picture any more");
    const QString output = TestSupport::TempDir() + "Out/Trip";
    const Run result = run({"--generate", project, "--output", output});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("photo 2 (" + pictures + "b.png) is left out: the file does not exist"))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("photo 3 (" + pictures + "c.bmp) is left out: the file cannot be read as a picture"))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("photo 1 of 1")) << result.err.toStdString();
    EXPECT_EQ(QDir(output + "/photo").entryList(QDir::Files), QStringList{"a.jpg"});
}

TEST_F(BatchTest, FailuresSayWhatWentWrong)
{
    const QString project = saveProject("Trip");
    TestSupport::WriteAll(TestSupport::TempDir() + "a-file", "x");
    TestSupport::WriteAll(TestSupport::TempDir() + "Empty/Empty.qem",
                          "<SaveDatas><photos><photo photoname=\"photos/gone.jpg\"/></photos></SaveDatas>");
    TestSupport::WriteAll(TestSupport::TempDir() + "Broken/Broken.qem", "\x01\x02 not xml");
    const QString out = TestSupport::TempDir() + "Out";
    struct Case {
        QStringList arguments;
        int status;
        QString message;
    } cases[] = {
        {{"--generate", TestSupport::TempDir() + "Gone/Gone.qem", "--output", out}, 1, "does not exist"},
        {{"--generate", TestSupport::TempDir() + "Empty/Empty.qem", "--output", out}, 1, "has no photo"},
        {{"--generate", TestSupport::TempDir() + "Broken/Broken.qem", "--output", out}, 1, "cannot be read"},
        {{"--generate", project, "--output", TestSupport::TempDir() + "a-file/Album"}, 1, "cannot create the output folder"},
        {{"--generate", project, "--output", out, "--template", "7"}, 2, "there is no template 7"},
        {{"--generate", project, "--output", out, "--kind", "hologram"}, 2, "unknown kind hologram"},
        {{"--generate", project}, 2, "--output PATH"},
        {{"--generate", FileUtils::FolderOf(project), "--output", out}, 1, "is a folder, not a project file; its project file is " + project},
        {{"--output", out, "--kind", "exe"}, 2, "options of --generate PROJECT.qem"},
        {{"--generate", "--output", out}, 2, "--generate needs a value, not the option --output"},
        {{"--generate", project, "--output", out + "/a:b"}, 1, "the character \":\" is not allowed"},
        {{"--generate", project, "--output", out + "/a|b/Trip", "--kind", "exe"}, 1, "the character \"|\" is not allowed"},
        {{"--generate", project, "--output", app + "Sources/Templates/Previews/Plain/"}, 1, "holds the program's templates"},
    };
    for (const Case& c : cases) {
        const Run result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments.join(' ').toStdString() << "\n" << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(out));

    // A disk that fills during the export: a message and a failure status, not a crash.
    const QByteArray before = TestSupport::ReadAll(project);
    const Run full = run({"--generate", project, "--output", out}, "ulimit -f 8;");
    EXPECT_FALSE(full.crashed);
    EXPECT_EQ(full.status, 1) << full.err.toStdString();
    EXPECT_TRUE(full.err.contains("generation failed: cannot")) << full.err.toStdString();
    EXPECT_FALSE(QFile::exists(out + "/Out.html"));
    EXPECT_EQ(TestSupport::ReadAll(project), before);
}

TEST_F(BatchTest, MakesAnExecutableAScreenSaverAndAnArchive)
{
    // The packagers take the player and the saver from beside the program.
    ASSERT_TRUE(QDir().mkpath(app + "Sources"));
    ASSERT_TRUE(QFile::copy(TestSupport::AppDir() + "/Sources/Player", app + "Sources/Player"));
    ASSERT_TRUE(QFile::copy(TestSupport::AppDir() + "/album.scr", app + "album.scr"));
    const QString project = saveProject("Holiday");
    const QString out = TestSupport::TempDir() + "Out/";

    // The executable: the player with the album appended, its size in the last four bytes.
    const Run exe = run({"--generate", project, "--output", out + "Holiday", "--kind", "exe"});
    ASSERT_EQ(exe.status, 0) << exe.err.toStdString();
    EXPECT_EQ(exe.out, out + "Holiday\n");
    const QByteArray player = TestSupport::ReadAll(app + "Sources/Player");
    const QByteArray packaged = TestSupport::ReadAll(out + "Holiday");
    ASSERT_GT(packaged.size(), player.size() + 4);
    EXPECT_TRUE(packaged.startsWith(player));
    EXPECT_EQ(qFromLittleEndian<quint32>(packaged.constData() + packaged.size() - 4), quint32(player.size()));
    EXPECT_TRUE(packaged.contains("thumb_a.jpg"));
    EXPECT_TRUE(QFileInfo(out + "Holiday").isExecutable());

    // The screen saver: the folder album, starting by itself, with the saver named after it.
    const Run saver = run({"--generate", project, "--output", out + "Saver", "--kind", "screensaver"});
    ASSERT_EQ(saver.status, 0) << saver.err.toStdString();
    EXPECT_EQ(saver.out, out + "Saver/Saver.scr\n");
    EXPECT_TRUE(QFileInfo(out + "Saver/Saver.scr").isExecutable());
    EXPECT_TRUE(TestSupport::ReadAll(out + "Saver/Saver.xml").contains("startAutoPlay=\"true\""));
    EXPECT_TRUE(QFileInfo::exists(out + "Saver/photo/a.jpg"));

    // The archive: every file of the album under its relative path, nothing else left behind.
    const Run zip = run({"--generate", project, "--output", out + "Holiday.zip", "--kind", "zip"});
    ASSERT_EQ(zip.status, 0) << zip.err.toStdString();
    EXPECT_EQ(zip.out, out + "Holiday.zip\n");
    const QStringList entries = ArchiveEntries(out + "Holiday.zip");
    for (const char* name : {"photo/a.jpg", "photo/b.png", "photo/c.jpg", "thumbs/thumb_a.jpg"})
        EXPECT_TRUE(entries.contains(name)) << name << "\n" << entries.join(' ').toStdString();
    EXPECT_EQ(entries.filter(QRegularExpression("^[^/]+\\.(js|xml|html)$")).size(), 3) << entries.join(' ').toStdString();

    // A folder where the executable should go is refused before any photo is exported.
    const Run onFolder = run({"--generate", project, "--output", out + "Saver", "--kind", "exe"});
    EXPECT_EQ(onFolder.status, 1);
    EXPECT_TRUE(onFolder.err.contains("is a folder")) << onFolder.err.toStdString();
    EXPECT_FALSE(onFolder.err.contains("photo 1 of")) << onFolder.err.toStdString();
}
