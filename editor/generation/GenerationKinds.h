// The kinds of output a generation can make, by the name the command line
// uses. Each kind is one entry of the table in GenerationKinds.cpp.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class AlbumModel;

struct GenerationRequest {
    QString output;          // the folder D (or the file) the user chose
    bool autoStart = false;  // "startAutoPlay" (screen savers)
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(int done, int total)> progress;
    std::function<void(int icon, const QString& text)> message;
};

struct GenerationResult {
    bool ok = false;
    bool cancelled = false;
    QString outputPath; // what the user opens: the web page of a folder album
    QString error;
};

using GenerationKind = std::function<GenerationResult(const AlbumModel&, const GenerationRequest&)>;

class GenerationKinds {
public:
    // The kind of that name, or null.
    static const GenerationKind* Find(const QString& name);
    static QStringList Names();
};
