#include "editor/catalogues/Catalogues.h"
#include "editor/core/HistoryRecord.h"
#include "editor/app/QemApp.h"
#include "editor/core/StringTable.h"
#include "tests/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the next message box with `button` and remembers its text.
struct MessageWatcher {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

    void answer(QMessageBox::StandardButton button)
    {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [this, timer, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            icon = box->icon();
            timer->stop();
            timer->deleteLater();
            box->button(button)->click();
        });
        timer->start();
    }
};

QString appWithCatalogues(bool effects, bool templates)
{
    const QString app = TestSupport::MakeFolder("app");
    if (effects)
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), "<E><Effect id=\"a\" png=\"a.png\"/></E>");
    if (templates)
        TestSupport::WriteAll(TemplateCatalogue::FilePath(app), "<T><Template xml=\"a.xml\" w=\"640\" h=\"480\"/></T>");
    return app;
}

} // namespace

TEST(Startup, MissingCatalogueShowsString110AndFails)
{
    for (const auto& [effects, templates] : {std::pair{false, true}, std::pair{true, false}}) {
        CqemApp app;
        app.SetAppDir(appWithCatalogues(effects, templates));
        MessageWatcher watcher;
        watcher.answer(QMessageBox::Ok);
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.ExitCode(), 1);
        EXPECT_EQ(watcher.text, Strings::Load(Strings::ResourceLoadFailed));
        EXPECT_EQ(watcher.icon, QMessageBox::Critical);
        EXPECT_EQ(app.MainWindow(), nullptr);
    }
}

TEST(Startup, SecondInstanceEndsSilently)
{
    QLockFile running(CqemApp::LockFilePath());
    ASSERT_TRUE(running.tryLock(0));
    CqemApp app;
    app.SetAppDir(appWithCatalogues(true, true));
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitCode(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Startup, StartAndExitKeepSettingsAndCreateTheAlbumsFolder)
{
    CHistoryRecord::OpenProfile()->remove("HstRcd.hldData"); // what other cases of this process stored
    {
        QSettings key("Orlemo", "Kelvana");
        key.setValue("RegExploreTreeWidth", 0);
        key.setValue("Last Path", "/photos");
    }
    CqemApp app;
    app.SetAppDir(appWithCatalogues(true, true));
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.MainWindow(), nullptr);
    EXPECT_EQ(app.MainWindow()->windowTitle(), Strings::Load(Strings::ProductTitle) + " (Untitled)"); // a new album
    EXPECT_TRUE(QFileInfo(EditorSettings::DefaultProjectPath()).isDir());
    EXPECT_EQ(app.Settings().treeWidth, 200);
    EXPECT_EQ(app.Settings().lastPath, "/photos");
    EXPECT_EQ(EffectCatalogue::instance().Count(), 1);
    app.Settings().thumbZoom = 80;
    app.ExitInstance();

    QSettings key("Orlemo", "Kelvana");
    EXPECT_EQ(key.value("RegExploreTreeWidth").toInt(), 200);
    EXPECT_EQ(key.value("RegThumbViewScal").toInt(), 80);
    EXPECT_EQ(key.value("Project Path").toString(), EditorSettings::DefaultProjectPath());
    // The history lists were saved as empty lists.
    EXPECT_EQ(CHistoryRecord::OpenProfile()->value("HstRcd.hldData").toByteArray(), QByteArray(4, '\0'));
    // The lock is free again.
    QLockFile lock(CqemApp::LockFilePath());
    EXPECT_TRUE(lock.tryLock(0));
}

TEST(Startup, ProjectArgument)
{
    const QString trip = TestSupport::MakeFolder("Trip");
    TestSupport::WriteAll(trip + "/Trip.QEM", "<SaveDatas/>");
    EXPECT_EQ(CqemApp::ProjectArgument({"Kelvana", trip + "/Trip.QEM"}), trip + "/Trip.QEM");
    EXPECT_EQ(CqemApp::ProjectArgument({"Kelvana", "\"" + trip + "/Trip.QEM\""}), trip + "/Trip.QEM");
    EXPECT_EQ(CqemApp::ProjectArgument({"Kelvana", trip + "/Missing.qem"}), QString());
    EXPECT_EQ(CqemApp::ProjectArgument({"Kelvana", trip}), QString());
    EXPECT_EQ(CqemApp::ProjectArgument({"Kelvana"}), QString());
    TestSupport::WriteAll(TestSupport::TempDir() + ".qem", "x");
    const QString current = QDir::currentPath();
    QDir::setCurrent(TestSupport::TempDir());
    EXPECT_EQ(CqemApp::ProjectArgument({"Kelvana", ".qem"}), QString()); // not longer than four characters
    QDir::setCurrent(current);
}

// The real program: a second copy ends at once with status 0 while the first
// runs; the first ends cleanly on SIGTERM and writes its settings.
TEST(Startup, ProgramRunsAsASingleInstance)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString program = TestSupport::AppDir() + "/Kelvana";
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // Wait until the first instance has finished starting (its settings file
    // does not exist yet, but its lock does).
    // Watched, never taken: a probe holding the lock for a moment would make
    // the starting editor take itself for a second copy and end.
    for (int i = 0; i < 1200 && !QFileInfo::exists(CqemApp::LockFilePath()); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(QFileInfo::exists(CqemApp::LockFilePath()));

    QProcess second;
    second.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(QSettings("Orlemo", "Kelvana").value("RegExploreTreeWidth").toInt(), 200);
}

// The real program where its lock file cannot be made (a temporary folder no
// one may write, and no runtime folder): no second copy runs, so it says what
// failed and ends with a failure status instead of quietly as a second copy.
TEST(Startup, ProgramReportsALockFileThatCannotBeMade)
{
    const QString unwritable = QStringLiteral("/sys");
    if (QFile probe(unwritable + "/kelvana-probe"); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        GTEST_SKIP() << "/sys is writable here";
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", unwritable);
    env.remove("XDG_RUNTIME_DIR");
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.start(TestSupport::AppDir() + "/Kelvana", {});
    ASSERT_TRUE(editor.waitForFinished(60000));
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(editor.exitCode(), 1);
    const QString errors = QString::fromUtf8(editor.readAllStandardError());
    EXPECT_TRUE(errors.contains("lock file " + unwritable + "/Vantri Kelvana2.lock cannot be created (permission denied)"))
        << errors.toStdString();
}
