// Asks the maker's web site, without blocking, whether a newer build than
// the installed one exists. Start() reads the installed-product record (none:
// no request at all), sends GET <site>checkforupdate.php?product=60 and reads
// the first line of the answer. When the installed build is older, it emits
// PromptWanted with the text to show; the owner shows the prompt. Every
// failure (no record, no connection, an HTTP error, a time-out, a reply line
// that does not parse) ends quietly with Finished(false).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

class CUpdateChecker : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;
    // A reply line longer than this is not an answer of the site.
    static constexpr int kMaxLine = 4096;

    explicit CUpdateChecker(QObject* parent = nullptr);

    // The product whose record is read; "Vantri Kelvana" unless changed.
    void SetProductName(const QString& name) { m_productName = name; }
    // How long the request may go without any data before it is given up.
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // Starts the check; Finished follows later, never from within Start.
    // A call while a check runs is ignored.
    void Start();
    bool IsRunning() const { return m_running; }

signals:
    void PromptWanted(const QString& text);
    void Finished(bool prompted);

private:
    void OnReadyRead();
    void OnFinished();
    void Conclude(const std::optional<QByteArray>& answer);

    QString m_productName;
    int m_timeoutMs = kDefaultTimeoutMs;
    bool m_running = false;
    QString m_installedVersion;
    QString m_installedBuild;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_answer;
};
