// Test entry point: gives every test process its own temporary, configuration
// and runtime folders and a QApplication on the offscreen platform.
#include "common/Platform.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    const QByteArray realTemp = qgetenv("TMPDIR").isEmpty() ? QByteArray("/tmp") : qgetenv("TMPDIR");
    QByteArray pattern = realTemp + "/kelvana-test-XXXXXX";
    char* root = ::mkdtemp(pattern.data());
    if (!root)
        return 2;
    const QByteArray base(root);
    for (const char* sub : {"/tmp", "/config", "/runtime", "/home", "/data"})
        QDir().mkpath(QString::fromUtf8(base + sub));
    qputenv("TMPDIR", base + "/tmp");
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_RUNTIME_DIR", base + "/runtime");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("HOME", base + "/home");
    ::chmod((base + "/runtime").constData(), 0700);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Platform::PrepareWebEngine();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    QDir(QString::fromUtf8(base)).removeRecursively();
    return status;
}
