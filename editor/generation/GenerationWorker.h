// The generation worker: runs one generation on its own thread while the
// progress dialog waits. It tells its listeners, through queued signals, that
// it has started (notice 1), how far the export is (photo k of n) and that it
// has finished (notice 2); the dialog's Cancel sets the block's flag.
#pragma once

#include "editor/generation/GenerationKinds.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

class AlbumModel;

// Filled by the command (see GenerateCommands.h), read by the worker.
struct GenerationBlock {
    QString outputPath;      // the folder D with a trailing "/", or the executable's path
    bool executable = false; // the stand-alone executable instead of a folder album
    bool autoStart = false;  // screen-saver outputs
    QString kind;            // a kind of GenerationKinds; empty: by `executable`
    bool install = false;    // a screen saver is installed once it is made
    QString appDir;          // where the player and album.scr are; empty: this program's folder
    std::atomic<bool> cancelRequested{false};
};

class GenerationWorker : public QObject {
    Q_OBJECT
public:
    enum Notice { Started = 1, Finished = 2 };

    // The album must not change until Finished has been signalled.
    GenerationWorker(const AlbumModel& album, GenerationBlock& block, QObject* parent = nullptr);
    ~GenerationWorker() override; // waits for the thread

    // Starts the thread; false when the block names a kind that does not exist.
    bool Start();
    void RequestCancel() { m_block.cancelRequested = true; }
    bool IsRunning() const { return m_thread && m_thread->isRunning(); }
    // Waits for the thread to end (tests and batch runs; the dialog listens).
    void Wait();
    // Valid once Finished was signalled.
    const GenerationResult& Result() const { return m_result; }

    // The kind the block asks for: its kind, else "exe" for an executable and
    // "folder" otherwise.
    static QString KindOf(const GenerationBlock& block);

signals:
    void Notify(int notice);
    void Progress(int done, int total);
    // What happens after the photos: packaging, packing progress.
    void Step(const QString& text);

private:
    void run(GenerationKind kind);

    const AlbumModel& m_album;
    GenerationBlock& m_block;
    std::unique_ptr<QThread> m_thread;
    GenerationResult m_result;
};
