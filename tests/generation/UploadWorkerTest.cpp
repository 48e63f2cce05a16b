#include "editor/generation/UploadWorker.h"
#include "editor/generation/ZipProcessNotify.h"
#include "tests/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <zip.h>

using TestSupport::WriteAll;

namespace {

QByteArray Noise(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// A generated album: files in the root and the three subfolders.
std::map<QString, QByteArray> AlbumFiles(int photos, int photoSize)
{
    std::map<QString, QByteArray> files{{"Trip.js", "movie();"},
                                        {"Trip.xml", "<SaveDatas/>"},
                                        {"Trip.html", "<html></html>"},
                                        {"res/music.mp3", Noise(3000, 1)}};
    for (int i = 0; i < photos; ++i) {
        files["photo/p" + QString::number(i) + ".jpg"] = Noise(photoSize, quint32(10 + i));
        files["thumbs/thumb_p" + QString::number(i) + ".jpg"] = Noise(500, quint32(100 + i));
    }
    return files;
}

FolderAlbumGenerator Generator(std::map<QString, QByteArray> files)
{
    return [files](const QString& folder, bool autoStart) -> std::optional<AlbumOutput> {
        EXPECT_FALSE(autoStart);
        AlbumOutput output;
        if (!output.MakeFolders(folder))
            return std::nullopt;
        for (const auto& [name, bytes] : files)
            WriteAll(folder + name, bytes);
        return output;
    };
}

std::map<QString, QByteArray> ReadArchive(const QString& path)
{
    std::map<QString, QByteArray> entries;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, zip_uint64_t(i), 0, &stat);
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        zip_file_t* file = zip_fopen_index(zip, zip_uint64_t(i), 0);
        zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        entries[QString::fromUtf8(stat.name)] = data;
    }
    zip_close(zip);
    return entries;
}

// Records the notices as they are emitted, on the worker's thread.
struct Recorder {
    std::mutex mutex;
    std::vector<std::pair<int, int>> notices;
    void Attach(CZipProcessNotify& notify, std::function<void(int, int)> also = {})
    {
        QObject::connect(&notify, &CZipProcessNotify::Notice, &notify, [this, also](int n, int v) {
            {
                std::lock_guard lock(mutex);
                notices.emplace_back(n, v);
            }
            if (also)
                also(n, v);
        }, Qt::DirectConnection);
    }
    std::vector<int> Kinds()
    {
        std::lock_guard lock(mutex);
        std::vector<int> kinds;
        for (const auto& [n, v] : notices)
            if (kinds.empty() || kinds.back() != n)
                kinds.push_back(n);
        return kinds;
    }
};

// Stands in for the progress dialog: receives the posted notices.
class NoticeReceiver : public QObject {
public:
    std::vector<int> kinds;
    bool event(QEvent* e) override
    {
        if (e->type() == CZipNoticeEvent::EventType()) {
            kinds.push_back(static_cast<CZipNoticeEvent*>(e)->notice);
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

TEST(UploadWorker, PacksEveryFileUnderItsRelativePathAndPostsTheNotices)
{
    const auto files = AlbumFiles(5, 20000);
    CZipProcessNotify notify;
    NoticeReceiver dialog;
    notify.dialog = &dialog;
    Recorder recorder;
    recorder.Attach(notify);
    std::thread worker = UploadWorker::Start(notify, Generator(files));
    notify.WaitForEnd();
    worker.join();

    EXPECT_EQ(notify.result, CZipProcessNotify::Success);
    EXPECT_EQ(notify.archivePath, TestSupport::TempDir() + "~0.zip");
    EXPECT_EQ(ReadArchive(notify.archivePath), files);
    EXPECT_EQ(recorder.Kinds(), (std::vector<int>{1, 2, 3, 4}));
    int lastPercent = -1;
    for (const auto& [n, v] : recorder.notices) {
        if (n != 3)
            continue;
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 100);
        EXPECT_GT(v, lastPercent);
        lastPercent = v;
    }
    EXPECT_EQ(lastPercent, 100);
    // The dialog got the same notices posted, in order, once its thread ran.
    QCoreApplication::sendPostedEvents(&dialog);
    std::vector<int> kinds;
    for (int k : dialog.kinds)
        if (kinds.empty() || kinds.back() != k)
            kinds.push_back(k);
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(UploadWorker::ResultMessage(notify.result), "");
}

TEST(UploadWorker, ASecondRunTakesTheNextArchiveName)
{
    for (const char* expected : {"~0.zip", "~1.zip"}) {
        CZipProcessNotify notify;
        UploadWorker::Run(notify, Generator(AlbumFiles(1, 100)));
        EXPECT_EQ(notify.result, CZipProcessNotify::Success);
        EXPECT_EQ(notify.archivePath, TestSupport::TempDir() + expected);
    }
}

TEST(UploadWorker, CancelDuringPackingEndsWithThreeAndNoMessage)
{
    CZipProcessNotify notify;
    notify.cancelRequested = true; // a cancel from an earlier phase does not count
    Recorder recorder;
    // Cancel as the first progress arrives, as the user's click would.
    recorder.Attach(notify, [&notify](int n, int v) {
        if (n == CZipProcessNotify::PackingProgress && v < 100)
            notify.cancelRequested = true;
    });
    UploadWorker::Run(notify, Generator(AlbumFiles(20, 200000)));
    EXPECT_EQ(notify.result, CZipProcessNotify::PackingCancelled);
    EXPECT_TRUE(notify.archivePath.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(TestSupport::TempDir() + "~0.zip"));
    EXPECT_EQ(recorder.Kinds().back(), 4);
    EXPECT_EQ(UploadWorker::ResultMessage(notify.result), "");
}

TEST(UploadWorker, GenerationFailureEndsWithOne)
{
    CZipProcessNotify notify;
    Recorder recorder;
    recorder.Attach(notify);
    UploadWorker::Run(notify, [](const QString&, bool) { return std::optional<AlbumOutput>(); });
    EXPECT_EQ(notify.result, CZipProcessNotify::GenerationFailed);
    EXPECT_EQ(recorder.Kinds(), (std::vector<int>{1, 4}));
    EXPECT_EQ(UploadWorker::ResultMessage(1), QString::fromUtf8("生成影集失败"));
    EXPECT_EQ(UploadWorker::ResultMessage(2), QString::fromUtf8("生成影集失败"));
    EXPECT_TRUE(notify.WaitForEnd(0));
}
