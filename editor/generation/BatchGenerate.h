// Generation without a window, from the command line:
//
//   Kelvana --generate PROJECT.qem --output PATH [--kind KIND] [--template N]
//
// opens the project, generates the album as one of the kinds of
// GenerationKinds (folder, exe, screensaver, zip), prints the progress
// (photo k of n, then the packaging) on the error stream and what was made
// (the web page of a folder album, the executable, the screen saver, the
// archive) on the output stream. A missing project, an empty album or an
// output that cannot be written end with a message and a non-zero status.
#pragma once

#include <QString>
#include <QStringList>

struct GenerationResult;

class BatchGenerate {
public:
    enum Status { Ok = 0, Failed = 1, Usage = 2 };

    // True when the command line asks for batch generation or for help; the
    // editor then runs Main instead of opening its window.
    static bool Wants(int argc, char* argv[]);
    // Runs the batch generation (or prints the help) and returns the status.
    static int Main(int argc, char* argv[]);

    static QString HelpText();

    struct Arguments {
        QString project;
        QString output;
        QString kind = QStringLiteral("folder");
        int templateIndex = -1; // -1: the one the project was saved with
        bool help = false;
    };
    // Parses the arguments after the program name; false with `error` set for
    // a command line that cannot be run.
    static bool Parse(const QStringList& arguments, Arguments& parsed, QString& error);

    // What a failed run of `kind` into `output` prints: the reason, or for a
    // cancelled run what was left (an executable or an archive is written
    // only at the end, so a cancel leaves nothing there).
    static QString FailureText(const QString& kind, const GenerationResult& result, const QString& output);
};
