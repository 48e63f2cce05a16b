// Feeds arbitrary executables to the player's unpacker. Whatever the bytes,
// unpacking must stay inside its buffers (the sanitizers watch that) and write
// nothing outside its extraction folder: after the clean-up the temporary
// folder must be empty again.
#include "player/PayloadUnpacker.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <cstdlib>
#include <unistd.h>

namespace {
QString g_root; // holds only the temporary folder "tmp"
QString g_temp;

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Memory-backed when possible: every input creates and removes folders.
    QByteArray pattern = QDir("/dev/shm").exists() ? "/dev/shm/kelvana-fuzz-XXXXXX" : "/tmp/kelvana-fuzz-XXXXXX";
    const char* root = ::mkdtemp(pattern.data());
    if (!root)
        std::abort();
    const QByteArray temp = QByteArray(root) + "/tmp";
    QDir().mkpath(QString::fromUtf8(temp));
    ::setenv("TMPDIR", temp.constData(), 1);
    g_root = QString::fromUtf8(root);
    g_temp = QString::fromUtf8(temp);
    std::atexit([] { QDir(g_root).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const CPayloadUnpacker::Result result = CPayloadUnpacker::Unpack(buffer);
    CPayloadUnpacker::RemoveFolders(result.folders);
    // Nothing written outside the extraction folders, and nothing left after
    // the clean-up.
    if (!Entries(g_temp).isEmpty() || Entries(g_root) != QStringList{QStringLiteral("tmp")})
        std::abort();
    return 0;
}
