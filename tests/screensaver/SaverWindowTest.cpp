#include "screensaver/SaverFiles.h"
#include "screensaver/ScrnSaverWnd.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void WriteConfiguration(const QString& path, const QString& basicAttributes)
{
    TestSupport::WriteAll(path, ("<?xml version=\"1.0\"?><SaveDatas><preferences><global><basic_property "
                                 + basicAttributes + "/></global></preferences></SaveDatas>")
                                    .toUtf8());
}

void Move(QWidget* window, QPoint global)
{
    QMouseEvent event(QEvent::MouseMove, window->mapFromGlobal(QPointF(global)), QPointF(global), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}
} // namespace

TEST(SaverFiles, ARenamedCopyLooksForItsOwnMovieAndConfiguration)
{
    const struct {
        const char* program;
        const char* movie;
        const char* configuration;
    } cases[] = {
        {"/a/b/album.scr", "/a/b/album.js", "/a/b/album.xml"},
        {"/a/b/Trip.scr", "/a/b/Trip.js", "/a/b/Trip.xml"},
        {"/a/b/Trip", "/a/b/Trip.js", "/a/b/Trip.xml"},
        {"/a/b/My.Show.scr", "/a/b/My.Show.js", "/a/b/My.Show.xml"},
    };
    for (const auto& c : cases) {
        const SaverFiles files = SaverFiles::ForProgram(c.program);
        EXPECT_EQ(files.movie, c.movie);
        EXPECT_EQ(files.configuration, c.configuration);
    }
}

TEST(SaverFiles, MovieSizeAndPlacement)
{
    const QString xml = TestSupport::TempDir() + "Trip.xml";
    WriteConfiguration(xml, "phototime=\"3\" movieWidth=\"800\" movieHeight=\"600px\"");
    EXPECT_EQ(SaverFiles::ReadMovieSize(xml), QSize(800, 600));
    EXPECT_EQ(SaverFiles::MovieRect({1024, 768}, {800, 600}), QRect(112, 84, 800, 600));
    EXPECT_EQ(SaverFiles::MovieRect({640, 480}, {800, 600}), QRect(-80, -60, 800, 600)); // also when negative
    WriteConfiguration(xml, "movieWidth=\"800\"");
    EXPECT_EQ(SaverFiles::ReadMovieSize(xml), QSize());
    EXPECT_EQ(SaverFiles::MovieRect({1024, 768}, QSize()), QRect(0, 0, 1024, 768));
    EXPECT_EQ(SaverFiles::ReadMovieSize(TestSupport::TempDir() + "missing.xml"), QSize());
    TestSupport::WriteAll(xml, "<not xml");
    EXPECT_EQ(SaverFiles::ReadMovieSize(xml), QSize());
}

TEST(SaverWindow, FullScreenPlacesTheMovieAndEndsOnAMoveOfFourPixels)
{
    const QString folder = TestSupport::MakeFolder("Trip");
    WriteConfiguration(folder + "/Trip.xml", "movieWidth=\"800\" movieHeight=\"600\"");
    QPointer<CScrnSaverWnd> window = new CScrnSaverWnd(folder + "/Trip.scr");
    QSignalSpy ended(window.data(), &CScrnSaverWnd::Ended);
    ASSERT_TRUE(window->Create("Trip", QRect(0, 0, 1024, 768), nullptr));
    EXPECT_EQ(window->MovieRect(), QRect(112, 84, 800, 600));
    EXPECT_EQ(window->windowTitle(), "Trip");
    EXPECT_EQ(window->BackgroundImage().size(), QSize(1024, 768));

    // A close the saver did not ask for is refused.
    window->close();
    QApplication::processEvents();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());

    const QPoint start = window->Rules().StartCursor();
    Move(window, start + QPoint(3, -3));
    QApplication::processEvents();
    EXPECT_EQ(ended.count(), 0);
    Move(window, start + QPoint(0, 4));
    QApplication::processEvents();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(window.isNull() || !window->isVisible()); // closed (and deleted)
}

TEST(SaverWindow, AKeyEndsTheSaverAndInputDuringTheCheckDoesNot)
{
    const QString folder = TestSupport::MakeFolder("Show");
    QPointer<CScrnSaverWnd> window = new CScrnSaverWnd(folder + "/Show.scr");
    QSignalSpy ended(window.data(), &CScrnSaverWnd::Ended);
    ASSERT_TRUE(window->Create("Show", QRect(0, 0, 320, 200), nullptr));
    EXPECT_EQ(window->MovieRect(), QRect(0, 0, 320, 200)); // no configuration: the whole window
    // The cursor is hidden while the saver runs and is the arrow during the check.
    const auto cursorShape = [] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor ? int(cursor->shape()) : -1;
    };
    EXPECT_EQ(cursorShape(), int(Qt::BlankCursor));
    int checks = 0;
    int cursorDuringCheck = -1;
    window->SetPasswordCheck([&] {
        ++checks;
        cursorDuringCheck = cursorShape();
        // A key while the check runs is ignored.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(window, &key);
        return false;
    });
    QTest::qWait(5); // past the password delay of 0 s
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(window, &key);
    QApplication::processEvents();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(cursorDuringCheck, int(Qt::ArrowCursor));
    EXPECT_EQ(ended.count(), 0); // refused: still running
    EXPECT_EQ(cursorShape(), int(Qt::BlankCursor));
    window->SetPasswordCheck([] { return true; });
    QApplication::sendEvent(window, &key);
    QApplication::processEvents();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(cursorShape(), -1); // the cursor is back
}

TEST(SaverWindow, FullScreenMoviePlaysInTheControlWhoseInputEndsTheSaver)
{
    // Both kinds of input reach the ending rules from the movie control that
    // holds the keyboard focus: a key, and a mouse movement past the threshold.
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "key" : "mouse");
        const QString folder = TestSupport::MakeFolder("Trip");
        WriteConfiguration(folder + "/Trip.xml", "movieWidth=\"800\" movieHeight=\"600\"");
        TestSupport::WriteAll(folder + "/Trip.js", "// movie");
        QPointer<CScrnSaverWnd> window = new CScrnSaverWnd(folder + "/Trip.scr");
        ASSERT_TRUE(window->Create("Trip", QRect(0, 0, 1024, 768), nullptr));
        CMoviePlayer* control = window->MovieControl();
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetMovie(), folder + "/Trip.js");
        EXPECT_EQ(control->Window()->geometry(), QRect(112, 84, 800, 600));
        EXPECT_TRUE(control->Window()->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(control->Window() == focus || control->Window()->isAncestorOf(focus));

        // When it ends, the movie has been stopped and its control closed.
        QString movieAtEnd;
        bool controlAtEnd = true;
        QObject::connect(window, &CScrnSaverWnd::Ended, [&] {
            movieAtEnd = control->GetMovie();
            controlAtEnd = control->IsCreated();
        });
        QSignalSpy ended(window.data(), &CScrnSaverWnd::Ended);
        if (byKey) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
            QApplication::sendEvent(focus, &key);
        } else {
            const QPoint start = window->Rules().StartCursor();
            Move(focus, start + QPoint(-3, 3));
            QApplication::processEvents();
            EXPECT_EQ(ended.count(), 0);
            Move(focus, start + QPoint(4, 0));
        }
        QApplication::processEvents();
        EXPECT_EQ(ended.count(), 1);
        EXPECT_EQ(movieAtEnd.toStdString(), "0");
        EXPECT_FALSE(controlAtEnd);
        delete window.data();
    }
}
