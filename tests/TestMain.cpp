// Test entry point: gives every test process its own temporary, configuration
// and runtime folders and a QApplication on the offscreen platform, and every
// test case its own temporary, home and data folders, also when a program runs
// all its cases in one process. What a case leaves in memory or in the
// settings stays for the next case: tests clean that up themselves.
#include "common/Platform.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Points TMPDIR, HOME and XDG_DATA_HOME at fresh folders for each test case
// and removes them after it.
class FreshFoldersPerCase : public ::testing::EmptyTestEventListener {
public:
    explicit FreshFoldersPerCase(QByteArray base) : m_base(std::move(base)) {}

    void OnTestStart(const ::testing::TestInfo&) override
    {
        m_case = m_base + "/case" + QByteArray::number(++m_count);
        for (const char* sub : {"/tmp", "/home", "/data"})
            QDir().mkpath(QString::fromUtf8(m_case + sub));
        qputenv("TMPDIR", m_case + "/tmp");
        qputenv("HOME", m_case + "/home");
        qputenv("XDG_DATA_HOME", m_case + "/data");
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        qputenv("TMPDIR", m_base + "/tmp");
        qputenv("HOME", m_base + "/home");
        qputenv("XDG_DATA_HOME", m_base + "/data");
        QDir(QString::fromUtf8(m_case)).removeRecursively();
    }

private:
    QByteArray m_base;
    QByteArray m_case;
    int m_count = 0;
};

} // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshFoldersPerCase(base));
    const int status = RUN_ALL_TESTS();
    QDir(QString::fromUtf8(base)).removeRecursively();
    return status;
}
