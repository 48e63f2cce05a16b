#include "editor/shell/UpdateReply.h"

#include "editor/core/StringTable.h"

#include <QList>
#include <limits>

std::optional<UpdateReply> UpdateReply::Parse(const QByteArray& answer)
{
    QByteArray line = answer.left(answer.indexOf('\n') < 0 ? answer.size() : answer.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    QList<QByteArray> fields;
    for (const QByteArray& field : line.split('#'))
        if (!field.isEmpty())
            fields.push_back(field);
    if (fields.size() < 2)
        return std::nullopt;
    UpdateReply reply;
    reply.first = QString::fromUtf8(fields[0]);
    reply.version = QString::fromUtf8(fields[1]);
    if (fields.size() > 2)
        reply.build = QString::fromUtf8(fields[2]);
    return reply;
}

int BuildNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

std::optional<QString> UpdatePrompt(const QString& installedVersion, const QString& installedBuild,
                                    const UpdateReply& reply)
{
    if (BuildNumber(installedBuild) >= BuildNumber(reply.build))
        return std::nullopt;
    // The four "%s" of the text take the values in order; the values are
    // put in as they are, never read as patterns themselves.
    const QStringList values{installedVersion, installedBuild, reply.version, reply.build};
    const QStringList pieces = Strings::Load(Strings::NewVersionAvailable).split(QLatin1String("%s"));
    QString text = pieces.value(0);
    for (qsizetype k = 1; k < pieces.size(); ++k)
        text += values.value(k - 1) + pieces[k];
    return text;
}
