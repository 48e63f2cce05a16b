#include "editor/generation/AlbumConfiguration.h"

#include "common/FileUtils.h"
#include "common/XmlDocument.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/generation/AlbumOutput.h"
#include "editor/generation/PhotoExport.h"

#include <QFileInfo>

namespace {

CXmlNodeWrapper globalNode(const CXmlDocumentWrapper& doc, const QString& name)
{
    return doc.AsNode().Find(QStringLiteral("preferences")).Find(QStringLiteral("global")).Find(name);
}

// Sets the first attribute of that name; attributes are never added.
void setFirstAttribute(CXmlNodeWrapper node, const QString& name, const QString& value)
{
    for (int i = 0; i < node.NumAttributes(); ++i) {
        if (node.GetAttribName(i) == name) {
            node.SetAttribValue(i, value);
            return;
        }
    }
}

} // namespace

QString AlbumConfiguration::DefaultMusic(const QString& configurationPath)
{
    CXmlDocumentWrapper doc;
    if (!doc.Load(configurationPath))
        return QString();
    return globalNode(doc, QStringLiteral("music_property")).GetValue(QStringLiteral("path"));
}

bool AlbumConfiguration::Write(const AlbumModel& album, const TemplateEntry& entry, const AlbumOutput& output,
                               PhotoExporter& exporter, bool preview, bool autoStart)
{
    CXmlDocumentWrapper doc;
    doc.Load(output.templateFolder + output.configurationName); // a failure leaves the document empty

    // Music: "None" means none; "Default" or a file that has gone keeps the
    // template's own.
    QString music = album.Settings().HasNoMusic() ? QString() : album.Settings().music;
    if (music.isEmpty() || (QFileInfo(music).isAbsolute() && QFileInfo(music).isFile())) {
        const QString path = preview ? music : QStringLiteral("res/") + FileUtils::LastComponent(music);
        setFirstAttribute(globalNode(doc, QStringLiteral("music_property")), QStringLiteral("path"), path);
    }

    if (autoStart)
        setFirstAttribute(globalNode(doc, QStringLiteral("basic_property")), QStringLiteral("startAutoPlay"),
                          QStringLiteral("true"));

    CXmlNodeWrapper slides = doc.AsNode().Find(QStringLiteral("album"));
    const QString stayTime = QString::number(album.Settings().stayTime);
    if (slides.IsValid() && album.IsEmpty()) {
        // The template's own sample slides stay, with the album's stay time.
        for (int i = 0; i < slides.NumNodes(); ++i)
            setFirstAttribute(slides.GetNode(i), QStringLiteral("phototime"), stayTime);
    } else if (slides.IsValid()) {
        while (slides.NumNodes() > 0)
            slides.RemoveNode(slides.GetNode(0));
        const EffectCatalogue& effects = album.Effects();
        for (int i = 0; i < album.Count(); ++i) {
            CXmlNodeWrapper slide = slides.AppendNode(QStringLiteral("slide"));
            if (entry.thumbnails)
                slide.SetValue(QStringLiteral("jpegURL"), QStringLiteral("thumbs/") + exporter.WriteThumbnail(i));
            slide.SetValue(QStringLiteral("d_URL"), exporter.ExportPhoto(i, preview));
            const int effect = album.EffectLeadingInto(i);
            slide.SetValue(QStringLiteral("transition"),
                           effects.IsValidIndex(effect) ? effects.Entry(effect).id : QString());
            slide.SetValue(QStringLiteral("panzoom"), QStringLiteral("1"));
            slide.SetValue(QStringLiteral("URLTarget"), QStringLiteral("0"));
            slide.SetValue(QStringLiteral("phototime"), stayTime);
            const Caption* caption = album.Item(i).caption.get();
            slide.SetValue(QStringLiteral("url"), caption ? caption->url : QString());
            slide.SetValue(QStringLiteral("title"), QStringLiteral("http_imgload"));
        }
    }
    return doc.Save(output.RootFolder() + output.configurationName);
}
