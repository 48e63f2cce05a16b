// The kinds of output a generation can make, by the name the command line
// uses. Each kind is one entry of the table in GenerationKinds.cpp:
//   folder       the folder album D: movie, configuration, web page, photos
//   exe          one stand-alone executable (the player with the album appended)
//   screensaver  the folder album D with automatic start and the screen saver
//                D/(A without extension).scr beside it
//   zip          the album packed into a ZIP archive, as the upload makes it
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class AlbumModel;

struct GenerationRequest {
    // folder, screensaver: the folder D; exe: the executable to write;
    // zip: where to put the archive (empty: it stays in the temporary folder).
    QString output;
    bool autoStart = false; // "startAutoPlay" for a folder album
    // screensaver: hand the packaged saver to the system's screen-saver
    // settings (the editor's command does; batch runs do not).
    bool install = false;
    // The folder holding the editor program, the player template
    // "Sources/Player" and "album.scr"; empty: the running program's folder.
    QString appDir;
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(int done, int total)> progress;
    std::function<void(int icon, const QString& text)> message;
    // One line on what happens after the photos (packaging, packing percent).
    std::function<void(const QString& text)> step;
};

struct GenerationResult {
    bool ok = false;
    bool cancelled = false;
    // What the user opens: the web page of a folder album, the executable,
    // the screen saver, the archive.
    QString outputPath;
    QString error;
    bool installed = false; // screensaver with install: XScreenSaver took it
};

using GenerationKind = std::function<GenerationResult(const AlbumModel&, const GenerationRequest&)>;

class GenerationKinds {
public:
    // The kind of that name, or null.
    static const GenerationKind* Find(const QString& name);
    static QStringList Names();
    // Each kind's name and what it makes, one kind after the other, every
    // line indented by `indent` spaces and ending in a line break.
    static QString Help(int indent);
};
