// The update check against a real HTTP server on 127.0.0.1: which replies
// lead to the prompt, that nothing is asked without an installed product, and
// that a dead or silent server ends the check quietly without blocking.
#include "editor/shell/update/DlgUpdaterPrompt.h"
#include "editor/shell/update/ProductInfo.h"
#include "editor/shell/update/RunUpdateCheck.h"
#include "editor/shell/update/UpdateChecker.h"
#include "tests/TestSupport.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Answers every request with one HTTP/1.0 response, or, when `silent`, takes
// the connection and never answers.
class HttpServer : public QObject {
public:
    QByteArray status = "200 OK";
    QByteArray body;
    bool silent = false;
    int connections = 0;
    QByteArray lastRequest;

    HttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_requests[socket] += socket->readAll();
                    if (silent || !m_requests[socket].contains("\r\n\r\n"))
                        return;
                    lastRequest = m_requests[socket];
                    socket->write("HTTP/1.0 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString Site() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }

private:
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_requests;
};

class UpdateCheckerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The system scope of this case: its own folder, with no record yet.
        const QString system = TestSupport::MakeFolder("system");
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, system);
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, system);
    }
    void TearDown() override
    {
        QSettings(QStringLiteral("Orlemo"), QStringLiteral("Kelvana")).remove(QStringLiteral("Site"));
    }
    static void Install(const QString& version, const QString& build)
    {
        QSettings record(QSettings::SystemScope, QStringLiteral("Orlemo"), QStringLiteral("Vantri Kelvana"));
        record.setValue(QStringLiteral("Product ID"), QStringLiteral("KELVANA-2"));
        record.setValue(QStringLiteral("Version"), version);
        record.setValue(QStringLiteral("Build"), build);
    }
    static void PointSiteAt(const QString& site)
    {
        QSettings(QStringLiteral("Orlemo"), QStringLiteral("Kelvana")).setValue(QStringLiteral("Site"), site);
    }
    // Runs one check to its end; the prompt text, or empty when none was wanted.
    static QString Check(CUpdateChecker& checker, bool* prompted = nullptr)
    {
        QSignalSpy prompts(&checker, &CUpdateChecker::PromptWanted);
        QSignalSpy finished(&checker, &CUpdateChecker::Finished);
        bool loopRan = false;
        QTimer::singleShot(0, [&loopRan] { loopRan = true; });
        checker.Start();
        EXPECT_EQ(finished.count(), 0) << "Start must not wait for the answer";
        EXPECT_TRUE(finished.wait(20000));
        EXPECT_TRUE(loopRan) << "the event loop kept running during the check";
        EXPECT_EQ(finished.count(), 1);
        const bool wanted = !prompts.isEmpty();
        if (prompted)
            *prompted = finished.value(0).value(0).toBool();
        EXPECT_EQ(finished.value(0).value(0).toBool(), wanted);
        return wanted ? prompts[0][0].toString() : QString();
    }
};

struct ReplyCase {
    const char* status;
    const char* body;
    const char* installedBuild;
    const char* promptHas; // nullptr: no prompt
};

class UpdateReplies : public UpdateCheckerTest, public ::testing::WithParamInterface<ReplyCase> {};

} // namespace

TEST_P(UpdateReplies, PromptOnlyForANewerBuild)
{
    const ReplyCase c = GetParam();
    HttpServer server;
    server.status = c.status;
    server.body = c.body;
    PointSiteAt(server.Site());
    Install(QStringLiteral("2"), QString::fromUtf8(c.installedBuild));
    CUpdateChecker checker;
    const QString prompt = Check(checker);
    EXPECT_EQ(server.connections, 1);
    EXPECT_TRUE(server.lastRequest.startsWith("GET /checkforupdate.php?product=60 HTTP/1.1\r\n"))
        << server.lastRequest.constData();
    EXPECT_TRUE(server.lastRequest.contains("User-Agent: Kelvana\r\n")) << server.lastRequest.constData();
    if (c.promptHas) {
        EXPECT_TRUE(prompt.contains(QString::fromUtf8(c.promptHas))) << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(QStringLiteral("Your version is: 2.") + c.installedBuild)) << prompt.toStdString();
    } else {
        EXPECT_TRUE(prompt.isEmpty()) << prompt.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, UpdateReplies,
    ::testing::Values(ReplyCase{"200 OK", "x#3#150", "149", "Current version is: 3.150"},
                      ReplyCase{"200 OK", "x#3#150", "150", nullptr},
                      ReplyCase{"200 OK", "x#3", "149", nullptr},
                      ReplyCase{"200 OK", "3#150", "149", nullptr},
                      ReplyCase{"200 OK", "##x##3##150##", "149", "Current version is: 3.150"},
                      ReplyCase{"200 OK", "x#3#150\r\nx#9#999\r\n", "149", "Current version is: 3.150"},
                      ReplyCase{"200 OK", "", "149", nullptr},
                      ReplyCase{"404 Not Found", "x#3#150", "149", nullptr},
                      ReplyCase{"500 Internal Server Error", "x#3#150", "149", nullptr}));

TEST_F(UpdateCheckerTest, NoProductRecordMakesNoRequest)
{
    HttpServer server;
    server.body = "x#3#150";
    PointSiteAt(server.Site());
    CUpdateChecker checker;
    EXPECT_TRUE(Check(checker).isEmpty());
    EXPECT_EQ(server.connections, 0);

    // A record with an empty value counts as none.
    Install(QStringLiteral("2"), QString());
    EXPECT_FALSE(CProductInfo().ReadProductInfo(QStringLiteral("Vantri Kelvana")));
    EXPECT_TRUE(Check(checker).isEmpty());
    EXPECT_EQ(server.connections, 0);
}

TEST_F(UpdateCheckerTest, ClosedPortEndsQuietly)
{
    QString site;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        site = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    }
    PointSiteAt(site);
    Install(QStringLiteral("2"), QStringLiteral("149"));
    CUpdateChecker checker;
    EXPECT_TRUE(Check(checker).isEmpty());
}

TEST_F(UpdateCheckerTest, SilentServerEndsByTheTimeOut)
{
    HttpServer server;
    server.silent = true;
    PointSiteAt(server.Site());
    Install(QStringLiteral("2"), QStringLiteral("149"));
    CUpdateChecker checker;
    checker.SetTimeout(300);
    EXPECT_TRUE(Check(checker).isEmpty());
    EXPECT_EQ(server.connections, 1);
}

TEST_F(UpdateCheckerTest, RunUpdateCheckOpensThePromptWithoutWaitingForIt)
{
    HttpServer server;
    server.body = "x#3#150\n";
    PointSiteAt(server.Site());
    Install(QStringLiteral("2"), QStringLiteral("149"));
    QWidget owner;
    owner.show();
    QPointer<CUpdateChecker> checker = RunUpdateCheck(&owner);
    QSignalSpy finished(checker.data(), &CUpdateChecker::Finished);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished[0][0].toBool());
    const auto prompts = owner.findChildren<CDlgUpdaterPrompt*>();
    ASSERT_EQ(prompts.size(), 1);
    EXPECT_TRUE(prompts[0]->isVisible());
    EXPECT_TRUE(prompts[0]->Message()->text().contains(QStringLiteral("Current version is: 3.150")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(checker.isNull()) << "the checker deletes itself when done";
}

TEST(DlgUpdaterPrompt, YesOpensTheDownloadPageAndNoDoesNot)
{
    QSettings(QStringLiteral("Orlemo"), QStringLiteral("Kelvana"))
        .setValue(QStringLiteral("Site"), QStringLiteral("http://127.0.0.1:9/"));
    for (const bool yes : {true, false}) {
        CDlgUpdaterPrompt prompt(QStringLiteral("A new version"));
        QList<QUrl> opened;
        prompt.SetUrlOpener([&opened](const QUrl& url) { opened << url; });
        prompt.show();
        EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Check for Updates"));
        QTest::mouseClick(yes ? prompt.YesButton() : prompt.NoButton(), Qt::LeftButton);
        EXPECT_FALSE(prompt.isVisible());
        EXPECT_EQ(prompt.result(), yes ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(opened, yes ? QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/download.html"))} : QList<QUrl>{});
    }
    QSettings(QStringLiteral("Orlemo"), QStringLiteral("Kelvana")).remove(QStringLiteral("Site"));
}
