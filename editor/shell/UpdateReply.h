// The rules of the update check without the network or a window: reading the
// site's one-line answer, comparing build numbers and wording the prompt.
// The checker fetches the answer and shows the prompt; everything it decides
// is decided here.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

struct UpdateReply {
    QString first;   // ignored by the check
    QString version; // the current major version, shown in the prompt
    QString build;   // the current build, compared as a number; may be empty

    // The first line of the answer (up to its first line break, a CR before
    // it dropped) split at "#": leading separators are skipped and a run of
    // separators counts as one. Nothing when the line has fewer than two fields.
    static std::optional<UpdateReply> Parse(const QByteArray& answer);
};

// A build number as the installer writes it: leading blanks and one sign
// allowed, digits up to the first other character; no digits give 0, and a
// number too large for an int gives the nearest int.
int BuildNumber(const QString& text);

// The prompt offering the newer build, or nothing when the installed build is
// not below the reply's.
std::optional<QString> UpdatePrompt(const QString& installedVersion, const QString& installedBuild,
                                    const UpdateReply& reply);
