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
//
// Every call that needs an answer from the page comes in two forms. The
// asynchronous form returns at once and calls its completion later, exactly
// once, on the UI thread: with the answer, or with its failure value when the
// page does not answer in time, when a newer load replaces the page (every
// call still pending then fails, a replaced LoadMovieAsync among them), or when
// the control window or the control is destroyed. A completion is never called
// from inside the call that starts it, nor after the CMoviePlayer is destroyed:
// its destructor calls the pending ones first, with failure (a completion must
// not use the player then). The waiting form spins a local event loop until
// the answer is there; it is for tests and the player programs only and
// refuses to nest: a waiting call made while a waiting call of any control is
// running returns its failure value at once, with a warning.
#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
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

    // The movie's current frame (1/25 s of show time); 0 without a movie, -1
    // when refused. Waits for the page to answer.
    int GetFrameNum();
    // Moves the movie to `frame` and waits (bounded) until the frame is drawn
    // with its pictures; false when it was not within the bounds, or refused.
    bool GotoFrame(int frame);
    // Paints the control's current picture into an image of the window's size.
    QImage Paint();

    // Waits until the loaded movie has read its configuration and settled its
    // first picture; false on timeout or without a movie.
    bool WaitForMovie(int timeoutMs = 10000);
    // Evaluates JavaScript in the movie's page and waits for the result.
    bool Evaluate(const QString& script, QVariant* result = nullptr, int timeoutMs = 5000);

    // Asynchronous forms (see the top of this file).
    // Loads like LoadMovie; ready once the movie has read its configuration and
    // settled its first picture (what WaitForMovie waits for). False for "0",
    // on timeout, or when superseded.
    void LoadMovieAsync(const QString& path, std::function<void(bool ready)> done, int timeoutMs = 20000);
    // Runs an invoke request like CallFunction once the last load is shown; ok
    // when the page had the function and called it.
    void CallFunctionAsync(const QString& request, std::function<void(bool ok)> done, int timeoutMs = 15000);
    // Moves the movie to `frame`; drawn once the frame's pictures are there
    // and, in a shown control, the frame is on screen.
    void GotoFrameAsync(int frame, std::function<void(bool drawn)> done);
    // The current frame; 0 without a movie, -1 when the page did not answer.
    void FrameNumAsync(std::function<void(int frame)> done);
    // Evaluates JavaScript in the page; ok when the page answered (the value
    // is invalid for results that have no QVariant form, undefined among them).
    void EvaluateAsync(const QString& script, std::function<void(bool ok, QVariant value)> done, int timeoutMs = 5000);

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
    using Step = std::function<void(bool ok, const QVariant& value)>;
    struct Pending {
        Step done;
        int page = 0;        // the load request current when the call was made
        bool failed = false; // its failure is on its way
    };
    QObject* context() const; // lives as long as the player
    void applySettings();
    void loadPage();
    bool evaluateWait(const QString& script, QVariant* result, int timeoutMs);
    bool waitFor(const QString& condition, int timeoutMs);
    bool waitForLoads(int timeoutMs);
    bool waitForMovie(int timeoutMs);
    quint64 addPending(Step done, int timeoutMs);
    void finish(quint64 id, bool ok, const QVariant& value);
    void failLater(quint64 id);
    void failAllLater();
    void failAsync(Step done);
    void runAsync(const QString& script, int timeoutMs, Step done);
    void pollAsync(const QString& condition, int timeoutMs, std::function<void(bool)> done);
    void pollStep(quint64 id, const QString& condition);

    QPointer<QWebEngineView> m_view;
    std::unique_ptr<Filter> m_filter;
    QString m_movie;
    QString m_networking;
    int m_controlId = 0;
    bool m_watchInput = false;
    int m_requestedPage = 0; // id of the last page handed to the view
    int m_shownPage = 0;     // id of the last page the view finished loading
    std::map<quint64, Pending> m_pending; // asynchronous calls not yet completed
    quint64 m_lastPending = 0;
    bool m_closing = false; // in the destructor
};
