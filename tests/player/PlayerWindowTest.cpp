#include "common/AlbumPayload.h"
#include "player/MovieFit.h"
#include "player/QemPlayerDlg.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using TestSupport::WriteAll;

namespace {
QByteArray U32(uint32_t v) { return AlbumPayload::EncodeU32(v); }

// A small executable album: program bytes, a root group with a movie and a
// photo group with one file, empty thumbs and res groups.
QString MakeAlbumExecutable(const QString& name)
{
    const QByteArray program(1000, 'P');
    const QByteArray root = U32(2) + U32(7) + "Trip.js" + U32(2) + "//" + U32(8) + "Trip.xml" + U32(4) + "<a/>";
    const QByteArray photo = U32(1) + U32(5) + "a.jpg" + U32(4) + "jpeg";
    const QByteArray payload = root + U32(0) + U32(0) + photo;
    const QString path = TestSupport::TempDir() + name;
    WriteAll(path, program + payload + U32(uint32_t(program.size())));
    return path;
}
} // namespace

TEST(MovieFit, FittingRule)
{
    const struct {
        QSize client;
        QRect movie;
    } cases[] = {
        {{500, 400}, {-16, 0, 533, 400}}, // wider than high but less than 4:3: cut off at both sides
        {{800, 600}, {0, 0, 800, 600}},
        {{1000, 600}, {100, 0, 800, 600}},
        {{400, 500}, {0, 100, 400, 300}},
        {{400, 400}, {0, 50, 400, 300}},  // square: as wide as the window
        {{0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MovieFit::Place(c.client), c.movie) << c.client.width() << "x" << c.client.height();
}

TEST(PlayerWindow, APackagedAlbumUnpacksFitsClosesOnEscapeAndCleansUp)
{
    // A dot in the name is part of it: executables have no extension.
    const QString exe = MakeAlbumExecutable("Holiday.2009");
    QStringList folders;
    {
        CQemPlayerDlg dialog(exe);
        EXPECT_EQ(dialog.windowTitle(), "Holiday.2009");
        folders = dialog.ExtractionFolders();
        ASSERT_EQ(folders.size(), 4);
        EXPECT_EQ(dialog.MoviePath(), folders[0] + "Trip.js");
        EXPECT_TRUE(QFileInfo(folders[3] + "a.jpg").isFile());
        QFile::setPermissions(folders[3] + "a.jpg", QFileDevice::ReadOwner);

        // The movie plays in the control, which may reach the network.
        EXPECT_EQ(dialog.Flash().GetMovie(), dialog.MoviePath());
        EXPECT_EQ(dialog.Flash().GetAllowNetworking(), "all");

        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.resize(500, 400);
        QApplication::processEvents();
        EXPECT_EQ(dialog.MovieGeometry(), QRect(-16, 0, 533, 400));
        EXPECT_EQ(dialog.Flash().Window()->geometry(), QRect(-16, 0, 533, 400));
        EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);

        // Escape closes the window also while the movie has the keyboard.
        dialog.Flash().Window()->setFocus();
        QApplication::processEvents();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(focus == dialog.Flash().Window() || dialog.Flash().Window()->isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(QFileInfo::exists(folders[0])); // removed when the window object goes
    }
    for (const QString& folder : folders)
        EXPECT_FALSE(QFileInfo::exists(folder)) << folder.toStdString();
}

TEST(PlayerWindow, EnterClosesToo)
{
    CQemPlayerDlg dialog(MakeAlbumExecutable("Trip"));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(PlayerWindow, AnUnpackagedPlayerIsAnEmptyWindowNamedAfterItself)
{
    const QString exe = TestSupport::TempDir() + "MyPlayer";
    WriteAll(exe, QByteArray(1000, 'P') + QByteArray(4, '\0'));
    CQemPlayerDlg dialog(exe);
    EXPECT_EQ(dialog.windowTitle(), "MyPlayer");
    EXPECT_TRUE(dialog.ExtractionFolders().isEmpty());
    EXPECT_TRUE(dialog.MoviePath().isEmpty());
    EXPECT_EQ(QDir(TestSupport::TempDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    dialog.resize(640, 480);
    dialog.show();
    QApplication::processEvents();
    const QImage shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::black));
}

TEST(PlayerWindow, AboutEntryOpensTheAboutBox)
{
    CQemPlayerDlg dialog(MakeAlbumExecutable("Trip"));
    ASSERT_FALSE(dialog.WindowMenu()->actions().isEmpty());

    // A right click over the movie brings up the menu with the entry.
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QVariant state;
        return dialog.Flash().Evaluate("document.readyState", &state) && state.toString() == "complete";
    }, 20000));
    QWidget* movie = dialog.Flash().Window()->focusProxy() ? dialog.Flash().Window()->focusProxy()
                                                           : dialog.Flash().Window();
    // (The page may take a moment before it handles input: click again now and then.)
    bool shown = false;
    for (int attempt = 0; attempt < 10 && !shown; ++attempt) {
        QTest::mouseClick(movie, Qt::RightButton, {}, QPoint(movie->width() / 2, movie->height() / 2));
        shown = QTest::qWaitFor([&] { return dialog.WindowMenu()->isVisible(); }, 3000);
    }
    EXPECT_TRUE(shown);
    dialog.WindowMenu()->hide();

    QAction* about = dialog.WindowMenu()->actions().first();
    EXPECT_EQ(about->text(), "&About Kelvana Player...");
    QString title;
    QStringList texts;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        for (const QLabel* label : box->findChildren<QLabel*>())
            texts << label->text();
        box->close();
    });
    about->trigger();
    EXPECT_EQ(title, "About player");
    EXPECT_TRUE(texts.contains("Kelvana Player 1.0"));
}
