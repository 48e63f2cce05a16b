#include "common/movieplayer/MoviePlayer.h"

#include "common/movieplayer/MovieScripts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <pugixml.hpp>

namespace {

QString htmlEscape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

QString xmlEscape(const QString& text)
{
    QString out = htmlEscape(text);
    out.replace(QLatin1Char('\''), QLatin1String("&apos;"));
    return out;
}

bool isLocalScheme(const QString& scheme)
{
    return scheme == QLatin1String("file") || scheme == QLatin1String("data") || scheme == QLatin1String("blob")
           || scheme == QLatin1String("qrc") || scheme == QLatin1String("about");
}

// Keeps movies to local files unless networking is allowed.
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    bool allowRemote = false;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        if (!allowRemote && !isLocalScheme(info.requestUrl().scheme()))
            info.block(true);
    }
};

// Links a movie opens (a slide's click-through address) go to the desktop's
// browser or mail program, never into the control.
bool openExternally(const QUrl& url)
{
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        return QDesktopServices::openUrl(url);
    return false;
}

class LinkPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        openExternally(url);
        deleteLater();
        return false;
    }
};

// One private, in-memory profile for every control of the process: movies
// leave no cache or cookies on disk.
QWebEngineProfile* sharedProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    }
    return profile;
}

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
    case QEvent::Enter:
    case QEvent::HoverMove:
    case QEvent::TabletMove:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}

// Counts the waiting calls whose local event loop is running (all controls,
// UI thread only): a second one would run inside the first, which then could
// not return before it.
int g_waiting = 0;

class WaitingCall {
public:
    explicit WaitingCall(const char* name) : m_allowed(g_waiting == 0)
    {
        if (m_allowed)
            ++g_waiting;
        else
            qWarning("CMoviePlayer::%s refused: another waiting call is running; use the asynchronous form", name);
    }
    ~WaitingCall()
    {
        if (m_allowed)
            --g_waiting;
    }
    WaitingCall(const WaitingCall&) = delete;
    WaitingCall& operator=(const WaitingCall&) = delete;
    bool allowed() const { return m_allowed; }

private:
    bool m_allowed;
};

} // namespace

class CMoviePlayer::Page : public QWebEnginePage {
public:
    Page(QWebEngineProfile* profile, QObject* parent)
        : QWebEnginePage(profile, parent), interceptor(new LocalOnlyInterceptor(this))
    {
        setUrlRequestInterceptor(interceptor);
    }
    // Runs before the base destructor, which may answer pending scripts with
    // empty values: the owner fails its pending calls first.
    ~Page() override
    {
        if (gone)
            gone();
    }
    LocalOnlyInterceptor* interceptor;
    std::function<void()> gone;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        // The host page is set by the control; a link the movie follows opens outside.
        if (isMainFrame && type == NavigationTypeLinkClicked) {
            openExternally(url);
            return false;
        }
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }
    QWebEnginePage* createWindow(WebWindowType) override { return new LinkPage(profile(), this); }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int line,
                                  const QString& source) override
    {
        if (qEnvironmentVariableIsSet("KELVANA_MOVIE_CONSOLE"))
            qInfo("movie: %s (%s:%d)", qPrintable(message), qPrintable(source), line);
    }
};

// Forwards the control's input to OnInput, for the window and every widget
// the web view creates inside it (the view's input goes to an inner widget).
class CMoviePlayer::Filter : public QObject {
public:
    explicit Filter(CMoviePlayer* owner) : m_owner(owner) {}
    void watch(QObject* object)
    {
        object->installEventFilter(this);
        for (QObject* child : object->children()) {
            if (child->isWidgetType())
                watch(child);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child && child->isWidgetType())
                watch(child);
        }
        if (m_owner->m_watchInput && isInputEvent(event->type()))
            return m_owner->OnInput(watched, event);
        return false;
    }

private:
    CMoviePlayer* m_owner;
};

CMoviePlayer::CMoviePlayer() : m_filter(std::make_unique<Filter>(this)) {}

QObject* CMoviePlayer::context() const { return m_filter.get(); }

CMoviePlayer::~CMoviePlayer()
{
    m_closing = true;
    DestroyWindow();
    // Every completion still pending is called now, with failure: none can be
    // called later.
    while (!m_pending.empty())
        finish(m_pending.begin()->first, false, QVariant());
}

bool CMoviePlayer::Create(const QString& windowName, bool visible, const QRect& rect, QWidget* parent, int controlId)
{
    DestroyWindow();
    if (!QCoreApplication::instance())
        return false;
    auto* view = new QWebEngineView(parent);
    auto* page = new Page(sharedProfile(), view);
    view->setPage(page);
    if (!view->page()) {
        delete view;
        return false;
    }
    view->setObjectName(windowName);
    view->setWindowTitle(windowName);
    view->setAttribute(Qt::WA_DeleteOnClose, false);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setStyleSheet(QStringLiteral("background: black"));
    page->setBackgroundColor(Qt::black);
    view->setGeometry(rect);
    m_view = view;
    const QPointer<QObject> alive(m_filter.get());
    page->gone = [this, alive] {
        if (alive)
            failAllLater();
    };
    // A page handed to the view can be replaced before it finishes (the "0"
    // then a path of the screen saver), and the view reports some replaced
    // pages as finished and others not at all. So each finish asks the page
    // now shown which request it was made for.
    QObject::connect(view, &QWebEngineView::loadFinished, m_filter.get(), [this, view] {
        const QPointer<QObject> alive(m_filter.get());
        view->page()->runJavaScript(
            QStringLiteral("document.readyState==='complete'&&typeof kelvanaPageId==='number'?kelvanaPageId:-1"),
            [this, alive](const QVariant& id) {
                if (alive && id.isValid() && id.toInt() > 0)
                    m_shownPage = id.toInt();
            });
    });
    m_controlId = controlId;
    applySettings();
    m_filter->watch(view);
    view->setVisible(visible);
    if (!m_movie.isEmpty() && m_movie != QLatin1String("0"))
        loadPage();
    return true;
}

void CMoviePlayer::DestroyWindow()
{
    if (m_view) {
        QWebEngineView* view = m_view;
        m_view = nullptr;
        failAllLater();
        view->hide();
        view->page()->triggerAction(QWebEnginePage::Stop);
        delete view;
    }
}

bool CMoviePlayer::IsCreated() const { return !m_view.isNull(); }
QWidget* CMoviePlayer::Window() const { return m_view; }
QWebEngineView* CMoviePlayer::View() const { return m_view; }

void CMoviePlayer::applySettings()
{
    if (!m_view)
        return;
    QWebEngineSettings* settings = m_view->page()->settings();
    const bool remote = m_networking.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, remote);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    static_cast<Page*>(m_view->page())->interceptor->allowRemote = remote;
}

void CMoviePlayer::SetAllowNetworking(const QString& value)
{
    m_networking = value;
    applySettings();
}

void CMoviePlayer::LoadMovie(int layer, const QString& path)
{
    if (layer != 0)
        return;
    SetMovie(path);
}

void CMoviePlayer::SetMovie(const QString& pathOrZero)
{
    m_movie = pathOrZero;
    loadPage();
}

void CMoviePlayer::loadPage()
{
    if (!m_view)
        return;
    // Answers from the page being replaced would be about the wrong movie.
    failAllLater();
    QWebEnginePage* page = m_view->page();
    const int id = ++m_requestedPage;
    if (m_movie.isEmpty() || m_movie == QLatin1String("0")) {
        page->setHtml(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"UTF-8\">"
                                     "<script>var kelvanaPageId=%1;</script></head>"
                                     "<body style=\"margin:0;background:#000\"></body></html>")
                          .arg(id),
                      QUrl(QStringLiteral("about:blank")));
        return;
    }
    const QFileInfo info(m_movie);
    page->setHtml(HostPage(m_movie, id), QUrl::fromLocalFile(info.absolutePath() + QLatin1Char('/')));
}

QString CMoviePlayer::HostPage(const QString& moviePath, int pageId)
{
    const QFileInfo info(moviePath);
    const QString script = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded);
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"UTF-8\">\n<title>%1</title>\n"
                          "<style>html,body{margin:0;width:100%;height:100%;overflow:hidden;background:#000}"
                          "#stage{position:absolute;left:0;top:0;right:0;bottom:0}</style>\n"
                          "<script>var kelvanaPageId=%2;</script>\n</head>\n<body>\n"
                          "<div id=\"stage\"></div>\n"
                          "<script src=\"%3\"></script>\n</body>\n</html>\n")
        .arg(htmlEscape(info.completeBaseName()), QString::number(pageId), htmlEscape(script));
}

QString CMoviePlayer::InvokeRequest(const QString& name, const QString& returnType, const QStringList& arguments)
{
    QString request = QStringLiteral("<invoke name=\"%1\" returntype=\"%2\"><arguments>")
                          .arg(xmlEscape(name), xmlEscape(returnType));
    for (const QString& argument : arguments)
        request += QStringLiteral("<string>") + xmlEscape(argument) + QStringLiteral("</string>");
    request += QStringLiteral("</arguments></invoke>");
    return request;
}

bool CMoviePlayer::ParseInvokeRequest(const QString& request, QString* name, QStringList* arguments)
{
    pugi::xml_document doc;
    const QByteArray bytes = request.toUtf8();
    if (!doc.load_buffer(bytes.constData(), size_t(bytes.size()), pugi::parse_default, pugi::encoding_utf8))
        return false;
    const pugi::xml_node invoke = doc.document_element();
    if (std::string_view(invoke.name()) != "invoke")
        return false;
    if (name)
        *name = QString::fromUtf8(invoke.attribute("name").value());
    if (arguments) {
        arguments->clear();
        for (pugi::xml_node argument : invoke.child("arguments").children()) {
            if (argument.type() == pugi::node_element)
                arguments->append(QString::fromUtf8(argument.child_value()));
        }
    }
    return true;
}

bool CMoviePlayer::CallFunction(const QString& request)
{
    const QString script = MovieScripts::invokeScript(request);
    if (script.isEmpty() || !m_view)
        return false;
    const WaitingCall call("CallFunction");
    if (!call.allowed())
        return false;
    waitForLoads(10000);
    if (!m_view)
        return false;
    m_view->page()->runJavaScript(script);
    return true;
}

bool CMoviePlayer::Evaluate(const QString& script, QVariant* result, int timeoutMs)
{
    if (!m_view)
        return false;
    const WaitingCall call("Evaluate");
    if (!call.allowed())
        return false;
    return evaluateWait(script, result, timeoutMs);
}

bool CMoviePlayer::evaluateWait(const QString& script, QVariant* result, int timeoutMs)
{
    if (!m_view)
        return false;
    struct Outcome {
        bool done = false;
        QVariant value;
    };
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    QPointer<QEventLoop> loopGuard(&loop);
    m_view->page()->runJavaScript(script, [outcome, loopGuard](const QVariant& value) {
        outcome->done = true;
        outcome->value = value;
        if (loopGuard)
            loopGuard->quit();
    });
    if (!outcome->done) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (result)
        *result = outcome->value;
    return outcome->done;
}

bool CMoviePlayer::waitFor(const QString& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_view && timer.elapsed() < timeoutMs) {
        QVariant value;
        if (evaluateWait(QStringLiteral("!!(%1)").arg(condition), &value, int(qMax<qint64>(1, timeoutMs - timer.elapsed())))
            && value.toBool())
            return true;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return false;
}

bool CMoviePlayer::waitForLoads(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_view && m_shownPage != m_requestedPage && timer.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return m_view && m_shownPage == m_requestedPage;
}

bool CMoviePlayer::WaitForMovie(int timeoutMs)
{
    if (!m_view || m_movie.isEmpty() || m_movie == QLatin1String("0"))
        return false;
    const WaitingCall call("WaitForMovie");
    if (!call.allowed())
        return false;
    // The page loaded before must not answer for the one asked for.
    if (!waitForLoads(timeoutMs))
        return false;
    return waitFor(MovieScripts::readyCondition(), timeoutMs);
}

int CMoviePlayer::GetFrameNum()
{
    if (!m_view)
        return 0;
    const WaitingCall call("GetFrameNum");
    if (!call.allowed())
        return -1;
    QVariant value;
    if (!evaluateWait(MovieScripts::frameNumScript(), &value, 5000))
        return 0;
    return value.toInt();
}

bool CMoviePlayer::GotoFrame(int frame)
{
    if (!m_view)
        return false;
    const WaitingCall call("GotoFrame");
    if (!call.allowed())
        return false;
    evaluateWait(MovieScripts::gotoFrameScript(frame), nullptr, 5000);
    // Wait until the pictures of that frame are there, then for two frames on
    // screen so that a picture taken next shows it.
    const bool settled = waitFor(MovieScripts::settledCondition(), 5000);
    if (!m_view || !m_view->isVisible())
        return settled; // nothing is put on screen; Paint asks the movie for its picture
    evaluateWait(MovieScripts::markShownScript(), nullptr, 5000);
    return waitFor(QStringLiteral("window.__kelvanaShown"), 1000) && settled;
}

QImage CMoviePlayer::Paint()
{
    if (!m_view)
        return QImage();
    const QSize size = m_view->size();
    if (m_view->isVisible()) {
        const QImage shown = m_view->grab().toImage();
        if (!shown.isNull())
            return shown.convertToFormat(QImage::Format_RGB32);
    }
    // A hidden view draws nothing on screen: the movie's own picture of its
    // stage, fitted into the control as the host page shows it.
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QVariant value;
    if (!Evaluate(QStringLiteral("typeof kelvanaSnapshot==='function'?kelvanaSnapshot():''"), &value))
        return picture;
    const QString url = value.toString();
    const qsizetype comma = url.indexOf(QLatin1Char(','));
    if (!url.startsWith(QLatin1String("data:image/png;base64,")) || comma < 0)
        return picture;
    QImage stage;
    if (!stage.loadFromData(QByteArray::fromBase64(url.mid(comma + 1).toLatin1()), "PNG") || stage.isNull())
        return picture;
    const QSize fitted = stage.size().scaled(size, Qt::KeepAspectRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2), fitted), stage);
    return picture;
}

bool CMoviePlayer::OnInput(QObject*, QEvent*) { return false; }

void CMoviePlayer::WatchInput(bool on) { m_watchInput = on; }

int CMoviePlayer::Version()
{
    const char* version = qWebEngineChromiumVersion();
    if (!version)
        return 0;
    return QString::fromLatin1(version).section(QLatin1Char('.'), 0, 0).toInt();
}
