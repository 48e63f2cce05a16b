#include "editor/generation/ExeAlbumPackager.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using TestSupport::ReadAll;
using TestSupport::WriteAll;

namespace {

struct Entry {
    QString name;
    QByteArray data;
};
using Group = std::vector<Entry>;

// Reads the executable's layout on its own, independently of the player: the
// template part, four groups, and the trailer, which must follow the groups
// exactly.
struct Layout {
    QByteArray prefix;
    std::vector<Group> groups;
    bool exact = false; // the groups end exactly where the trailer begins
};

uint32_t u32(const QByteArray& bytes, qsizetype pos)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData() + pos);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

Layout ReadLayout(const QByteArray& file)
{
    Layout layout;
    const qsizetype trailerPos = file.size() - 4;
    const qsizetype p = u32(file, trailerPos);
    layout.prefix = file.left(p);
    qsizetype pos = p;
    for (int g = 0; g < 4; ++g) {
        Group group;
        const uint32_t count = u32(file, pos);
        pos += 4;
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t nameLength = u32(file, pos);
            pos += 4;
            Entry entry;
            entry.name = QString::fromUtf8(file.mid(pos, nameLength));
            pos += nameLength;
            const uint32_t dataLength = u32(file, pos);
            pos += 4;
            entry.data = file.mid(pos, dataLength);
            pos += dataLength;
            group.push_back(entry);
        }
        layout.groups.push_back(group);
    }
    layout.exact = pos == trailerPos;
    return layout;
}

QStringList Names(const Group& group)
{
    QStringList names;
    for (const Entry& e : group)
        names << e.name;
    return names;
}

QByteArray Bytes(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + (i >> 8));
    return bytes;
}

// A stand-in for the player program: some bytes ending in four zeros.
QString MakeTemplate(const QString& path, int size = 3000)
{
    WriteAll(path, Bytes(size - 4, 'P') + QByteArray(4, '\0'));
    return path;
}

AlbumOutput MakeAlbum(const QString& root)
{
    AlbumOutput album;
    EXPECT_TRUE(album.MakeFolders(root));
    WriteAll(album.RootFolder() + "album.js", "movie();");
    WriteAll(album.RootFolder() + "album.xml", "<SaveDatas/>");
    WriteAll(album.RootFolder() + "album.html", "<html></html>");
    // thumbs stays empty
    WriteAll(album.ResFolder() + "music.mp3", Bytes(100000, 'm')); // more than two copy chunks
    for (const char* name : {"a10.jpg", "a2.jpg", "B.jpg", "a.jpg", "c.jpg"})
        WriteAll(album.PhotoFolder() + name, Bytes(5000, name[0]));
    return album;
}

} // namespace

TEST(ExeAlbumPackager, WritesTheTemplateTheFourGroupsAndTheTrailer)
{
    const QString templ = MakeTemplate(TestSupport::TempDir() + "tpl/Player");
    const AlbumOutput album = MakeAlbum(TestSupport::TempDir() + "album");
    // Entries the listing must leave out: hidden files, folders, pipes.
    WriteAll(album.PhotoFolder() + ".hidden.jpg", "x");
    QDir().mkpath(album.PhotoFolder() + "sub.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(album.PhotoFolder() + "pipe.jpg").constData(), 0644), 0);

    const QString target = TestSupport::TempDir() + "out/Holiday";
    QDir().mkpath(TestSupport::TempDir() + "out");
    ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(target, templ, album));

    const QByteArray file = ReadAll(target);
    const Layout layout = ReadLayout(file);
    EXPECT_EQ(layout.prefix, ReadAll(templ));
    EXPECT_EQ(u32(file, file.size() - 4), uint32_t(QFileInfo(templ).size()));
    EXPECT_TRUE(layout.exact);
    ASSERT_EQ(layout.groups.size(), 4u);
    EXPECT_EQ(Names(layout.groups[0]), QStringList({"album.html", "album.js", "album.xml"}));
    EXPECT_TRUE(layout.groups[1].empty()); // an empty folder is a count of 0
    EXPECT_EQ(Names(layout.groups[2]), QStringList({"music.mp3"}));
    // The file manager's order: case-insensitive, digits as numbers.
    EXPECT_EQ(Names(layout.groups[3]), QStringList({"a.jpg", "a2.jpg", "a10.jpg", "B.jpg", "c.jpg"}));
    for (const Group& group : layout.groups) {
        for (const Entry& entry : group) {
            const int g = int(&group - layout.groups.data());
            EXPECT_EQ(entry.data, ReadAll(album.folders[size_t(g)] + entry.name)) << entry.name.toStdString();
        }
    }
    EXPECT_TRUE(QFileInfo(target).permissions() & QFileDevice::ExeOwner);
}

TEST(ExeAlbumPackager, AFileThatCannotBeOpenedIsLeftOutAndNotCounted)
{
    const QString folder = TestSupport::MakeFolder("group");
    WriteAll(folder + "/a.jpg", "AAAA");
    WriteAll(folder + "/c.jpg", "CC");
    // "b.jpg" was listed but is gone (or locked) when its turn comes.
    QFile out(TestSupport::TempDir() + "group.bin");
    ASSERT_TRUE(out.open(QIODevice::ReadWrite | QIODevice::Truncate));
    ASSERT_TRUE(CExeAlbumPackager::WriteGroup(out, folder, {"a.jpg", "b.jpg", "c.jpg"}));
    out.close();
    const QByteArray bytes = ReadAll(out.fileName());
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(u32(bytes, 0), 2u);
    // count, then a.jpg (4 + 5 + 4 + 4 bytes) and c.jpg (4 + 5 + 4 + 2 bytes), nothing else
    EXPECT_EQ(bytes.size(), 4 + 17 + 15);
    EXPECT_EQ(bytes.mid(8, 5), "a.jpg");
    EXPECT_EQ(bytes.mid(4 + 17 + 4, 5), "c.jpg");
}

TEST(ExeAlbumPackager, PackagingTwiceOverwritesAndReadOnlyFilesArePackaged)
{
    const QString templ = MakeTemplate(TestSupport::TempDir() + "tpl/Player");
    const AlbumOutput album = MakeAlbum(TestSupport::TempDir() + "album");
    QFile::setPermissions(album.PhotoFolder() + "c.jpg", QFileDevice::ReadOwner);
    const QString target = TestSupport::TempDir() + "Holiday";
    WriteAll(target, QByteArray(50000, 'z')); // an unrelated older file, read-only
    QFile::setPermissions(target, QFileDevice::ReadOwner);

    ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(target, templ, album));
    const QByteArray first = ReadAll(target);
    ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(target, templ, album));
    const QByteArray second = ReadAll(target);
    EXPECT_EQ(first, second); // a fresh template each time, never appended to
    const Layout layout = ReadLayout(second);
    EXPECT_TRUE(layout.exact);
    EXPECT_TRUE(Names(layout.groups[3]).contains("c.jpg"));
}

TEST(ExeAlbumPackager, AWriteFailureEndsWithFalseAndLeavesNoTarget)
{
    const AlbumOutput album = MakeAlbum(TestSupport::TempDir() + "album");
    // A file-size limit makes writes fail past 20000 bytes, as a full disk
    // does: while the album is appended, or already while the player is
    // copied when it is larger than that.
    for (const int templateSize : {3000, 50000}) {
        const QString templ = MakeTemplate(TestSupport::TempDir() + "tpl/Player", templateSize);
        const QString target = TestSupport::TempDir() + "Full";
        WriteAll(target, "an earlier album");
        struct rlimit old {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = old;
        limited.rlim_cur = 20000;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool written = CExeAlbumPackager::WriteExecutable(target, templ, album);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(written) << templateSize;
        EXPECT_FALSE(QFileInfo::exists(target)) << templateSize;
    }
}

TEST(ExeAlbumPackager, ThePlayerTemplateIsNeverItsOwnTarget)
{
    const QString templ = MakeTemplate(TestSupport::TempDir() + "tpl/Player");
    const QByteArray before = ReadAll(templ);
    const AlbumOutput album = MakeAlbum(TestSupport::TempDir() + "album");
    EXPECT_FALSE(CExeAlbumPackager::WriteExecutable(TestSupport::TempDir() + "tpl/../tpl/Player", templ, album));
    EXPECT_EQ(ReadAll(templ), before);
}

TEST(ExeAlbumPackager, PackageAlbumGeneratesPacksAndRemovesTheTemporaryAlbum)
{
    const QString appDir = TestSupport::MakeFolder("app");
    MakeTemplate(appDir + "/Sources/Player");
    QString generatedInto;
    CExeAlbumPackager packager(
        [&](const QString& folder, bool autoStart) -> std::optional<AlbumOutput> {
            EXPECT_FALSE(autoStart);
            generatedInto = folder;
            return MakeAlbum(folder);
        },
        appDir);
    const QString target = TestSupport::TempDir() + "Trip";
    ASSERT_TRUE(packager.PackageAlbum(target));
    EXPECT_EQ(generatedInto, TestSupport::TempDir() + "0/");
    EXPECT_FALSE(QFileInfo::exists(generatedInto)); // photo, res, thumbs and root removed
    const Layout layout = ReadLayout(ReadAll(target));
    EXPECT_TRUE(layout.exact);
    EXPECT_EQ(layout.groups[3].size(), 5u);
    EXPECT_TRUE(QFileInfo(target).isExecutable());
}

TEST(ExeAlbumPackager, PackageAlbumStopsWithoutOutputOrTemplate)
{
    const QString appDir = TestSupport::MakeFolder("app");
    const QString target = TestSupport::TempDir() + "Trip";
    // A generation that wrote part of an album and then failed (a full disk,
    // a cancel): its temporary folder goes.
    CExeAlbumPackager failing(
        [](const QString& folder, bool) {
            MakeAlbum(folder);
            return std::optional<AlbumOutput>();
        },
        appDir);
    MakeTemplate(appDir + "/Sources/Player");
    EXPECT_FALSE(failing.PackageAlbum(target));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(TestSupport::TempDir() + "0"));
    EXPECT_TRUE(failing.LastError().isEmpty()); // the generation says why

    QFile::remove(appDir + "/Sources/Player");
    CExeAlbumPackager noTemplate([](const QString& folder, bool) { return MakeAlbum(folder); }, appDir);
    EXPECT_FALSE(noTemplate.PackageAlbum(target));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(noTemplate.LastError().contains("Sources/Player is missing")) << noTemplate.LastError().toStdString();
    // The generated album stays for inspection when the template is missing.
    EXPECT_TRUE(QFileInfo::exists(TestSupport::TempDir() + "0/photo/a.jpg"));
}
