#include "common/AlbumPayload.h"
#include "editor/generation/ExeAlbumPackager.h"
#include "player/PayloadUnpacker.h"
#include "tests/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <thread>

using Status = CPayloadUnpacker::Status;
using TestSupport::ReadAll;
using TestSupport::WriteAll;

namespace {

QByteArray U32(uint32_t v) { return AlbumPayload::EncodeU32(v); }

QByteArray Entry(const QByteArray& name, const QByteArray& data)
{
    return U32(uint32_t(name.size())) + name + U32(uint32_t(data.size())) + data;
}

const QByteArray kProgram = QByteArray(200, 'P') + QByteArray(4, '\0');

// The program part, the given payload and a trailer pointing at the payload.
QByteArray Executable(const QByteArray& payload) { return kProgram + payload + U32(uint32_t(kProgram.size())); }

QByteArray Group(std::initializer_list<QByteArray> entries)
{
    QByteArray group = U32(uint32_t(entries.size()));
    for (const QByteArray& e : entries)
        group += e;
    return group;
}

const QByteArray kEmptyGroups = Group({}) + Group({}) + Group({});

// Every file below the temporary folder, relative to it.
QStringList FilesUnderTemp()
{
    QStringList files;
    QDirIterator it(TestSupport::TempDir(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(TestSupport::TempDir()).relativeFilePath(it.next());
    files.sort();
    return files;
}

CPayloadUnpacker::Result UnpackBytes(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return CPayloadUnpacker::Unpack(buffer);
}

} // namespace

TEST(PayloadUnpacker, APackagedAlbumRoundTripsToTheSameFiles)
{
    AlbumOutput album;
    ASSERT_TRUE(album.MakeFolders(TestSupport::TempDir() + "album"));
    std::map<QString, QByteArray> files{{"Trip.xml", "<SaveDatas/>"},
                                        {"Trip.js", "movie();"},
                                        {"A.JS", "not the movie"},
                                        {"Trip.html", QByteArray(70000, 'h')},
                                        {"thumbs/thumb_a.jpg", QByteArray(3000, 't')},
                                        {"res/music.mp3", QByteArray(123457, 'm')},
                                        {"photo/a.jpg", QByteArray(50000, 'a')},
                                        {"photo/Trip.js", "same name in another group"},
                                        {"photo/empty.jpg", QByteArray()},
                                        {QString::fromUtf8("photo/假期.jpg"), QByteArray(10, 'z')}};
    for (const auto& [name, data] : files)
        WriteAll(album.RootFolder() + name, data);
    QFile::setPermissions(album.PhotoFolder() + "a.jpg", QFileDevice::ReadOwner);
    const QString templ = TestSupport::TempDir() + "tpl";
    WriteAll(templ, kProgram);
    const QString exe = TestSupport::TempDir() + "Trip";
    ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(exe, templ, album));

    const CPayloadUnpacker::Result result = CPayloadUnpacker::UnpackFile(exe);
    ASSERT_EQ(result.status, Status::Unpacked);
    const QString root = TestSupport::TempDir() + "0/";
    EXPECT_EQ(result.folders, QStringList({root, root + "thumbs/", root + "res/", root + "photo/"}));
    EXPECT_EQ(result.filesWritten, int(files.size()));
    for (const auto& [name, data] : files) {
        EXPECT_TRUE(QFileInfo(root + name).isFile()) << name.toStdString();
        EXPECT_EQ(ReadAll(root + name), data) << name.toStdString();
    }
    // The movie is the first root file ending exactly in ".js".
    EXPECT_EQ(result.moviePath, root + "Trip.js");

    // Clean-up removes photo, res, thumbs and root, read-only files included.
    QFile::setPermissions(root + "photo/a.jpg", QFileDevice::ReadOwner);
    CPayloadUnpacker::RemoveFolders(result.folders);
    EXPECT_FALSE(QFileInfo::exists(root));
}

TEST(PayloadUnpacker, AProgramWithoutAlbumCreatesNoFolder)
{
    const QString exe = TestSupport::TempDir() + "Player";
    WriteAll(exe, kProgram);
    const CPayloadUnpacker::Result result = CPayloadUnpacker::UnpackFile(exe);
    EXPECT_EQ(result.status, Status::NoAlbum);
    EXPECT_TRUE(result.folders.isEmpty());
    EXPECT_EQ(QDir(TestSupport::TempDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(UnpackBytes("ab").status, Status::NoAlbum); // too small to hold a trailer
}

TEST(PayloadUnpacker, DamagedPayloadsEndSafely)
{
    const QByteArray okEntry = Entry("a.jpg", "data");
    const QByteArray big = QByteArray(300, 'n');
    const struct {
        const char* what;
        QByteArray bytes;
        Status status;
    } cases[] = {
        {"trailer past the end", kProgram + U32(5000), Status::Damaged},
        {"trailer into itself", kProgram + U32(uint32_t(kProgram.size()) + 2), Status::Damaged},
        {"no group at all", Executable({}), Status::Damaged},
        {"count past the end", Executable(U32(0xffffffff) + okEntry), Status::Damaged},
        {"groups missing", Executable(Group({okEntry})), Status::Damaged},
        {"name length 0", Executable(Group({Entry("", "x")}) + kEmptyGroups), Status::Damaged},
        {"name length 256", Executable(Group({Entry(big.left(256), "x")}) + kEmptyGroups), Status::Damaged},
        {"name length huge", Executable(U32(1) + U32(0xfffffff0) + "a.jpg"), Status::Damaged},
        {"name past the end", Executable(U32(1) + U32(200) + "a.jpg"), Status::Damaged},
        {"name .", Executable(Group({Entry(".", "x")}) + kEmptyGroups), Status::Damaged},
        {"name ..", Executable(Group({Entry("..", "x")}) + kEmptyGroups), Status::Damaged},
        {"name with /", Executable(Group({Entry("../../escaped", "x")}) + kEmptyGroups), Status::Damaged},
        {"absolute name", Executable(Group({Entry("/tmp/escaped", "x")}) + kEmptyGroups), Status::Damaged},
        {"name with NUL", Executable(Group({Entry(QByteArray("a\0b", 3), "x")}) + kEmptyGroups), Status::Damaged},
        {"name not UTF-8", Executable(Group({Entry("\xff\xfe.js", "x")}) + kEmptyGroups), Status::Damaged},
        {"data length huge", Executable(U32(1) + U32(5) + "a.jpg" + U32(0xffffffff) + "data"), Status::Damaged},
        {"data into the trailer", Executable(U32(1) + U32(5) + "a.jpg" + U32(8) + "data"), Status::Damaged},
        {"name of a folder", Executable(Group({Entry("photo", "x")}) + kEmptyGroups), Status::WriteFailed},
        {"intact", Executable(Group({okEntry, Entry("m.js", "movie")}) + kEmptyGroups), Status::Unpacked},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CPayloadUnpacker::Result result = UnpackBytes(c.bytes);
        EXPECT_EQ(int(result.status), int(c.status));
        EXPECT_EQ(result.moviePath.isEmpty(), c.status != Status::Unpacked);
        // Whatever was written lies inside the extraction folder, and the
        // clean-up leaves nothing behind.
        for (const QString& file : FilesUnderTemp())
            EXPECT_TRUE(!result.folders.isEmpty() && (TestSupport::TempDir() + file).startsWith(result.folders[0]))
                << file.toStdString();
        CPayloadUnpacker::RemoveFolders(result.folders);
        EXPECT_EQ(FilesUnderTemp(), QStringList());
        EXPECT_EQ(QDir(TestSupport::TempDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    }
    EXPECT_FALSE(QFileInfo::exists("/tmp/escaped"));
}

TEST(PayloadUnpacker, TwoPlayersAtOnceGetDifferentFolders)
{
    const QString exe = TestSupport::TempDir() + "Album";
    WriteAll(exe, Executable(Group({Entry("m.js", QByteArray(200000, 'x'))}) + kEmptyGroups));
    CPayloadUnpacker::Result first;
    CPayloadUnpacker::Result second;
    std::thread a([&] { first = CPayloadUnpacker::UnpackFile(exe); });
    std::thread b([&] { second = CPayloadUnpacker::UnpackFile(exe); });
    a.join();
    b.join();
    ASSERT_EQ(first.status, Status::Unpacked);
    ASSERT_EQ(second.status, Status::Unpacked);
    EXPECT_NE(first.folders[0], second.folders[0]);
    EXPECT_EQ(ReadAll(first.moviePath), ReadAll(second.moviePath));
}
