#include "screensaver/SaverFiles.h"

#include "common/XmlDocument.h"

#include <QFileInfo>

SaverFiles SaverFiles::ForProgram(const QString& programPath)
{
    const QFileInfo info(programPath);
    const QString folder = info.absolutePath();
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString stem = (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')) + base;
    return SaverFiles{stem + QStringLiteral(".js"), stem + QStringLiteral(".xml")};
}

QSize SaverFiles::ReadMovieSize(const QString& configurationPath)
{
    CXmlDocumentWrapper document;
    if (!document.Load(configurationPath))
        return QSize();
    const CXmlNodeWrapper basic = document.AsNode()
                                      .Find(QStringLiteral("preferences"))
                                      .Find(QStringLiteral("global"))
                                      .Find(QStringLiteral("basic_property"));
    QString widthText;
    QString heightText;
    for (int i = 0; i < basic.NumAttributes(); ++i) {
        const QString name = basic.GetAttribName(i);
        if (name == QLatin1String("movieWidth"))
            widthText = basic.GetAttribVal(i);
        else if (name == QLatin1String("movieHeight"))
            heightText = basic.GetAttribVal(i);
    }
    if (widthText.isEmpty() || heightText.isEmpty())
        return QSize();
    return QSize(ParseLeadingInt(widthText), ParseLeadingInt(heightText));
}

QRect SaverFiles::MovieRect(QSize client, QSize movie)
{
    if (movie.width() <= 0 || movie.height() <= 0)
        return QRect(QPoint(0, 0), client);
    return QRect((client.width() - movie.width()) / 2, (client.height() - movie.height()) / 2, movie.width(),
                 movie.height());
}
