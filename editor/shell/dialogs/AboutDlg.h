// The About box: the application icon at the top left, the product name with
// its version, the maker's notice, a link to the maker's web site and the
// "确定" button at the top right. It only closes.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QUrl>
#include <functional>

class CStaticLink;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSiteLinkId = 1001;
    using UrlOpener = std::function<void(const QUrl&)>;

    // `icon` is the application icon; without one, the application's window
    // icon is shown.
    explicit CAboutDlg(QWidget* parent = nullptr, const QIcon& icon = QIcon());

    // The site link opens the address with QDesktopServices unless replaced.
    void SetUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

    CStaticLink* SiteLink() const { return m_link; }
    QPushButton* OkButton() const { return m_ok; }

private:
    CStaticLink* m_link = nullptr;
    QPushButton* m_ok = nullptr;
    UrlOpener m_opener;
};
