#include "editor/generation/WebPage.h"

#include "common/FileUtils.h"
#include "editor/core/EditorSettings.h"
#include "editor/generation/AlbumOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

QString htmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

// Replaces `to` with `from`; nothing to do when they are the same file.
bool moveReplacing(const QString& from, const QString& to)
{
    if (from == to)
        return QFileInfo::exists(to);
    if (!QFileInfo::exists(from))
        return false;
    if (QFileInfo::exists(to)) {
        FileUtils::ClearReadOnly(to);
        QFile::remove(to);
    }
    return QFile::rename(from, to);
}

} // namespace

QString WebPage::AlbumNameOf(const QString& outputFolder)
{
    const QString last = FileUtils::LastComponent(outputFolder);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? last : last.left(dot);
}

QString WebPage::FolderForChosenPath(const QString& path)
{
    const QString name = FileUtils::LastComponent(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString folder = dot <= 0 ? path : path.left(path.size() - (name.size() - dot));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QByteArray WebPage::Text(const QString& name, int width, int height, const QByteArray& configuration)
{
    const QString title = htmlEscaped(name);
    const QString script = htmlEscaped(QString::fromLatin1(QUrl::toPercentEncoding(name + QStringLiteral(".js"))));
    const QStringList lines{
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html><head><meta charset=\"UTF-8\"><title>%1</title>").arg(title),
        QStringLiteral("<style>html,body{margin:0;padding:0;background:#000000;}"
                       "body{display:flex;min-height:100vh;}"
                       "#stage{margin:auto;position:relative;overflow:hidden;width:%1px;height:%2px;}</style>")
            .arg(width)
            .arg(height),
        QStringLiteral("</head><body>"),
        QStringLiteral("<div id=\"stage\"></div>"),
        QStringLiteral("<textarea id=\"album-config\" hidden>%1</textarea>")
            .arg(htmlEscaped(QString::fromUtf8(configuration))),
        QStringLiteral("<script src=\"%1\"></script>").arg(script),
        QStringLiteral("<a href=\"%1\" title=\"Vantri Kelvana\" style=\"display:none;visibility:hidden;\">"
                       "Made with Vantri Kelvana</a>")
            .arg(htmlEscaped(EditorSettings::SiteAddress())),
        QStringLiteral("</body></html>"),
    };
    QString text = lines.join(QLatin1Char('\n'));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text.toUtf8();
}

bool WebPage::Finish(const AlbumOutput& output, int width, int height, QString* error)
{
    const QString root = output.RootFolder();
    const QString name = AlbumNameOf(root);
    const QString movie = root + name + QStringLiteral(".js");
    const QString configuration = root + name + QStringLiteral(".xml");
    const QString page = root + name + QStringLiteral(".html");
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!moveReplacing(root + output.movieName, movie))
        return fail(QStringLiteral("cannot put the movie at %1").arg(movie));
    if (!moveReplacing(root + output.configurationName, configuration))
        return fail(QStringLiteral("cannot put the configuration at %1").arg(configuration));

    QFile config(configuration);
    if (!config.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(configuration));
    const QByteArray text = Text(name, width, height, config.readAll());
    QSaveFile file(page);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush()) {
        file.cancelWriting();
        return fail(QStringLiteral("cannot write %1").arg(page));
    }
    if (!file.commit())
        return fail(QStringLiteral("cannot write %1").arg(page));
    return true;
}
