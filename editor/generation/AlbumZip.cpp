#include "editor/generation/AlbumZip.h"

#include "editor/generation/ZipProcessNotify.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <zip.h>

namespace AlbumZip {

namespace {

void onProgress(zip_t*, double fraction, void* state)
{
    static_cast<CZipProcessNotify*>(state)->OnProgress(fraction);
}

int onCancel(zip_t*, void* state) { return static_cast<CZipProcessNotify*>(state)->ShouldCancel() ? 1 : 0; }

} // namespace

bool PackFolder(const QString& folder, const QString& archive, CZipProcessNotify* notify)
{
    if (!QFileInfo(folder).isDir())
        return false;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        return false;

    const QDir root(folder);
    uint64_t totalBytes = 0;
    bool added = true;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (added && it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (!info.isFile())
            continue;
        const QByteArray name = root.relativeFilePath(info.filePath()).toUtf8();
        zip_source_t* source = zip_source_file(zip, QFile::encodeName(info.filePath()).constData(), 0, 0);
        if (!source) {
            added = false;
            break;
        }
        if (zip_file_add(zip, name.constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            added = false;
            break;
        }
        totalBytes += uint64_t(info.size());
    }
    if (!added) {
        zip_discard(zip);
        return false;
    }

    // The files are read and compressed while the archive is closed; that is
    // the action the notifier follows.
    if (notify) {
        notify->OnActionStart(totalBytes);
        zip_register_progress_callback_with_state(zip, 0.01, onProgress, nullptr, notify);
        zip_register_cancel_callback_with_state(zip, onCancel, nullptr, notify);
    }
    const bool closed = zip_close(zip) == 0;
    if (notify)
        notify->OnActionEnd();
    if (!closed) {
        zip_discard(zip);
        QFile::remove(archive);
        return false;
    }
    // libzip writes no file for an archive without entries.
    return QFileInfo(archive).isFile();
}

} // namespace AlbumZip
