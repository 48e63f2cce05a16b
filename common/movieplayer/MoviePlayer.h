// The movie player control: plays one HTML5 movie (a template movie N.js with
// its configuration N.xml, or the transition preview movie) in a web view that
// is an ordinary child window of its parent. The programs' control wrappers
// (CShockwaveFlash0, CShockwaveflash1, CShockwaveFlash, CScrnSaverFlash) derive
// from it.
//
// Loading a movie loads a generated host page for it: black background, the
// movie's script, local file access, and sound without a user gesture. The
// movie reads its configuration from the file beside it, whatever its size. The movie's page interface (toAs, frame
// counter, go-to-frame, state) is described in movies/README.md.
#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QEvent;
class QObject;
class QWidget;
class QWebEngineView;

class CMoviePlayer {
public:
    CMoviePlayer();
    virtual ~CMoviePlayer();
    CMoviePlayer(const CMoviePlayer&) = delete;
    CMoviePlayer& operator=(const CMoviePlayer&) = delete;

    // Creates the control window: a child of `parent` (a window of its own when
    // parent is null) at `rect`, shown or hidden. An existing window is
    // destroyed first. True when the web view could be made.
    virtual bool Create(const QString& windowName, bool visible, const QRect& rect, QWidget* parent, int controlId);
    // Destroys the control window (which stops its movie).
    void DestroyWindow();
    bool IsCreated() const;
    // The control window, to move, show, hide or focus like any child widget.
    QWidget* Window() const;
    QWebEngineView* View() const;
    int ControlId() const { return m_controlId; }

    // Loads the movie file (full local path) into layer 0; it starts at once.
    // Other layers are not supported and are ignored.
    void LoadMovie(int layer, const QString& path);
    // Loads a movie like LoadMovie, or with "0" unloads the current one.
    void SetMovie(const QString& pathOrZero);
    QString GetMovie() const { return m_movie; }

    // "all" lets movies load remote addresses; anything else keeps them to
    // local files. Applies to the current page and to later loads.
    void SetAllowNetworking(const QString& value);
    QString GetAllowNetworking() const { return m_networking; }

    // Runs an invoke request (see InvokeRequest) in the movie: calls the named
    // function of the page with the string arguments. False when the request
    // cannot be parsed or names no plain function name; the movie's own result
    // is not used.
    bool CallFunction(const QString& request);

    // The movie's current frame (1/25 s of show time); 0 without a movie. Waits
    // for the page to answer.
    int GetFrameNum();
    // Moves the movie to `frame` and waits (bounded) until the frame is drawn
    // with its pictures.
    void GotoFrame(int frame);
    // Paints the control's current picture into an image of the window's size.
    QImage Paint();

    // Waits until the loaded movie has read its configuration and settled its
    // first picture; false on timeout or without a movie.
    bool WaitForMovie(int timeoutMs = 10000);
    // Evaluates JavaScript in the movie's page and waits for the result.
    bool Evaluate(const QString& script, QVariant* result = nullptr, int timeoutMs = 5000);

    // The Chromium major version of the web engine (0 when unknown).
    static int Version();

    // An invoke request: <invoke name="N" returntype="R"><arguments><string>A</string>...
    // </arguments></invoke>, with "&", "<", ">", '"' and "'" escaped in every value.
    static QString InvokeRequest(const QString& name, const QString& returnType, const QStringList& arguments);
    // Reads an invoke request; false when it is not one.
    static bool ParseInvokeRequest(const QString& request, QString* name, QStringList* arguments);
    // The host page for a movie file; `pageId` names the load request it is
    // made for (the page's kelvanaPageId).
    static QString HostPage(const QString& moviePath, int pageId = 0);

protected:
    // Input that reaches the control window (mouse, keys, wheel, focus and
    // activation changes) while WatchInput(true) is on. Return true to consume it.
    virtual bool OnInput(QObject* watched, QEvent* event);
    void WatchInput(bool on);

private:
    class Filter;
    class Page;
    void applySettings();
    void loadPage();
    bool waitFor(const QString& condition, int timeoutMs);
    bool waitForLoads(int timeoutMs);

    QPointer<QWebEngineView> m_view;
    std::unique_ptr<Filter> m_filter;
    QString m_movie;
    QString m_networking;
    int m_controlId = 0;
    bool m_watchInput = false;
    int m_requestedPage = 0; // id of the last page handed to the view
    int m_shownPage = 0;     // id of the last page the view finished loading
};
