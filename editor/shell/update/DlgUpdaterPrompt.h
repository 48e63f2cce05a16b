// The prompt offering a newer build: a question icon, the message (wrapped)
// and the buttons "Yes" and "No". Yes opens the download page of the maker's
// web site; No only closes.
#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

class CDlgUpdaterPrompt : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit CDlgUpdaterPrompt(const QString& message, QWidget* parent = nullptr);

    // The download page: "download.html" on the maker's site.
    static QUrl DownloadPage();
    // Yes opens the page with QDesktopServices unless replaced; a failure to
    // open it is not reported.
    void SetUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

    QLabel* Message() const { return m_message; }
    QPushButton* YesButton() const { return m_yes; }
    QPushButton* NoButton() const { return m_no; }

public slots:
    void accept() override;

private:
    QLabel* m_message = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
    UrlOpener m_opener;
};
