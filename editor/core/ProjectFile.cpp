#include "editor/core/ProjectFile.h"

#include "common/FileUtils.h"
#include "common/Parallel.h"
#include "common/XmlDocument.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/WorkingCopyMap.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <map>
#include <set>

namespace {

const QString kPhotosFolder = QStringLiteral("photos");

QString withoutSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) && folder.size() > 1 ? folder.left(folder.size() - 1) : folder;
}

// Copies through a temporary file beside the target, so that the target is
// either the old file or the complete new one, never a part of it.
bool copyReplacing(const QString& to, const QString& from)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    if (QFileInfo::exists(to))
        FileUtils::ClearReadOnly(to);
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (in.error() != QFileDevice::NoError || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    // commit() would put a file in place whose buffered tail failed to write.
    if (!out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool writeBitmapReplacing(const QString& path, const QImage& picture)
{
    if (picture.isNull())
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&out, "bmp");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)) || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

// The file a working copy stands for: copies of copies (the snapshots that
// brightness and contrast start from) lead back to the user's own file.
QString originalOf(const QString& workingCopy)
{
    WorkingCopyMap& copies = WorkingCopyMap::Instance();
    QString source = copies.SourceOf(workingCopy);
    for (int depth = 0; depth < 16; ++depth) {
        const QString next = copies.SourceOf(source);
        if (next.isEmpty())
            break;
        source = next;
    }
    return source;
}

// The name itself when no other photo of this save uses it, else the name
// with the first free number before its extension.
QString freeName(const QString& name, const std::set<QString>& used)
{
    if (!used.count(name))
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n) + extension;
        if (!used.count(candidate))
            return candidate;
    }
}

int readInt(const CXmlNodeWrapper& node, const QString& attribute)
{
    return ParseLeadingInt(node.GetValue(attribute));
}

} // namespace

QString ProjectFile::PathIn(const QString& folder)
{
    const QString f = withoutSlash(folder);
    return f + QLatin1Char('/') + FileUtils::LastComponent(f) + QStringLiteral(".qem");
}

QString ProjectFile::ThumbnailPathIn(const QString& folder)
{
    const QString f = withoutSlash(folder);
    return f + QLatin1Char('/') + FileUtils::LastComponent(f) + QStringLiteral("_thumb.bmp");
}

QString ProjectFile::DefaultLink()
{
    return EditorSettings::SiteAddress();
}

bool ProjectFile::Save(AlbumModel& album, const QString& folderPath, bool namedSave)
{
    const QString folder = withoutSlash(folderPath);
    const QString name = FileUtils::LastComponent(folder);
    const QString photosFolder = folder + QLatin1Char('/') + kPhotosFolder + QLatin1Char('/');
    if (name.isEmpty() || !FileUtils::MakePath(folder) || !FileUtils::MakePath(photosFolder))
        return false;

    CXmlDocumentWrapper doc;
    doc.LoadXML(QString::fromLatin1(CXmlDocumentWrapper::NewDocumentText));
    CXmlNodeWrapper root = doc.AsNode();

    CXmlNodeWrapper project = root.AppendNode(QStringLiteral("project"));
    const QDate today = QDate::currentDate();
    project.SetValue(QStringLiteral("numphotos"), album.Count());
    project.SetValue(QStringLiteral("year"), today.year());
    project.SetValue(QStringLiteral("month"), today.month());
    project.SetValue(QStringLiteral("day"), today.day());

    const QString thumbnailPath = ThumbnailPathIn(folder);
    // The old thumbnail of a named album goes; when the album has photos it is
    // replaced in one step instead, so that a failed write keeps the old one.
    if (namedSave && album.IsEmpty())
        QFile::remove(thumbnailPath);
    QString thumbnailName;
    if (!album.IsEmpty()) {
        const QImage picture = album.Thumbnails().PictureOf(album.Photo(0)->thumbnail);
        if (writeBitmapReplacing(thumbnailPath, picture))
            thumbnailName = FileUtils::LastComponent(thumbnailPath);
    }
    project.SetValue(QStringLiteral("prj_thumb"), thumbnailName);

    const AlbumSettings& settings = album.Settings();
    CXmlNodeWrapper templ = root.InsertNode(0, QStringLiteral("template"));
    templ.SetValue(QStringLiteral("curID"), std::max(settings.templateIndex, 0));
    templ.SetValue(QStringLiteral("sound"), settings.music);
    templ.SetValue(QStringLiteral("transtime"), 0);
    templ.SetValue(QStringLiteral("staytime"), settings.stayTime);

    CXmlNodeWrapper photos = root.InsertNode(1, QStringLiteral("photos"));

    // Files in photos/ that this album uses unedited (a project opened earlier)
    // and names already given to an edited photo in this save: an edited photo
    // whose source name collides with one of them gets a numbered name, so
    // that no photo's copy overwrites another's.
    std::set<QString> usedNames;
    for (int i = 0; i < album.Count(); ++i) {
        const QString path = album.PathOf(i);
        if (FileUtils::FolderOf(path) + QLatin1Char('/') == photosFolder)
            usedNames.insert(FileUtils::LastComponent(path));
    }
    std::map<QString, QString> copiedAs; // working copy -> name in photos/

    bool complete = true;
    WorkingCopyMap& copies = WorkingCopyMap::Instance();
    for (int i = 0; i < album.Count(); ++i) {
        const LrItem& item = album.Item(i);
        const QString path = album.PathOf(i);
        CXmlNodeWrapper photo = photos.AppendNode(QStringLiteral("photo"));
        if (!path.isEmpty() && copies.IsWorkingCopy(path)) {
            QString copyName;
            if (const auto it = copiedAs.find(path); it != copiedAs.end()) {
                copyName = it->second;
            } else {
                copyName = FileUtils::LastComponent(originalOf(path));
                copyName = freeName(copyName, usedNames);
                if (!copyReplacing(photosFolder + copyName, path))
                    complete = false;
                usedNames.insert(copyName);
                copiedAs[path] = copyName;
            }
            photo.SetValue(QStringLiteral("photoname"), kPhotosFolder + QLatin1Char('/') + copyName);
        } else {
            photo.SetValue(QStringLiteral("photoname"), path);
        }
        photo.SetValue(QStringLiteral("effect"), item.effect);
        if (item.caption) {
            const Caption& caption = *item.caption;
            CXmlNodeWrapper text = photo.AppendNode(QStringLiteral("text"));
            text.SetValue(QStringLiteral("url"), caption.url.isEmpty() ? DefaultLink() : caption.url);
            text.SetValue(QStringLiteral("x"), caption.box.left);
            text.SetValue(QStringLiteral("y"), caption.box.top);
            text.SetValue(QStringLiteral("right"), caption.box.right);
            text.SetValue(QStringLiteral("bottom"), caption.box.bottom);
            text.SetValue(QStringLiteral("color"), int(caption.colour));
            text.SetValue(QStringLiteral("size"), caption.size);
            text.SetValue(QStringLiteral("font"), caption.font);
            if (!caption.lines.isEmpty())
                text.SetText(caption.lines.join(QLatin1Char('\n')));
        }
    }
    if (!complete)
        return false;
    return doc.Save(PathIn(folder));
}

bool ProjectFile::Open(AlbumModel& album, const QString& projectFile, std::vector<SkippedPhoto>* skipped)
{
    if (skipped)
        skipped->clear();
    CXmlDocumentWrapper doc;
    if (!doc.Load(projectFile))
        return false;
    const CXmlNodeWrapper root = doc.AsNode();
    const QString folder = FileUtils::FolderOf(QFileInfo(projectFile).absoluteFilePath());

    const CXmlNodeWrapper templ = root.Find(QStringLiteral("template"));
    const int stayTime = readInt(templ, QStringLiteral("staytime"));
    if (stayTime > 0)
        album.SetStayTime(stayTime); // kept within 1 to 9
    album.SetMusic(templ.GetValue(QStringLiteral("sound")));

    const CXmlNodeWrapper photos = root.Find(QStringLiteral("photos"));
    std::vector<QString> paths;
    std::vector<QString> reasons; // why a photo is left out; empty while it is not
    for (int i = 0; i < photos.NumNodes(); ++i) {
        const QString name = photos.GetNode(i).GetValue(QStringLiteral("photoname"));
        QString path = name;
        QString reason;
        if (path.startsWith(kPhotosFolder)) {
            // Relative to the project folder; older files wrote "photos\".
            path = folder + QLatin1Char('/') + QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
        } else if (path.isEmpty()) {
            reason = QStringLiteral("no file is named");
        } else if (!QFileInfo(path).isAbsolute()) {
            path.clear(); // would depend on the working folder of whoever opens it
            reason = QStringLiteral("the name is neither a full path nor in the project's photos folder");
        }
        if (!path.isEmpty() && !QFileInfo(path).isFile()) {
            reason = QFileInfo::exists(path) ? QStringLiteral("it is not a file") : QStringLiteral("the file does not exist");
            path.clear();
        }
        paths.push_back(path);
        reasons.push_back(reason);
    }

    // The thumbnails are made on both cores first, each held by a reference
    // of its own until the album holds it; the album is then filled in order.
    ThumbnailRegistry& thumbnails = album.Thumbnails();
    std::vector<ThumbHandle> made(paths.size(), 0);
    Parallel::For(int(paths.size()), [&](int i) {
        if (paths[size_t(i)].isEmpty())
            return;
        made[size_t(i)] = thumbnails.AcquirePhoto(paths[size_t(i)]);
    });

    for (int i = 0; i < photos.NumNodes(); ++i) {
        const CXmlNodeWrapper photo = photos.GetNode(i);
        const QString& path = paths[size_t(i)];
        const int effect = readInt(photo, QStringLiteral("effect"));
        const ThumbHandle handle = path.isEmpty() ? 0 : thumbnails.FindOrAddPhoto(path);
        if (handle == 0) {
            if (skipped) {
                const QString& reason = reasons[size_t(i)];
                skipped->push_back(SkippedPhoto{i, photo.GetValue(QStringLiteral("photoname")),
                                                reason.isEmpty() ? QStringLiteral("the file cannot be read as a picture")
                                                                 : reason});
            }
            continue;
        }

        const CXmlNodeWrapper text = photo.Find(QStringLiteral("text"));
        auto caption = std::make_unique<Caption>();
        caption->url = text.GetValue(QStringLiteral("url"));
        caption->box = CaptionBox{readInt(text, QStringLiteral("x")), readInt(text, QStringLiteral("y")),
                                  readInt(text, QStringLiteral("right")), readInt(text, QStringLiteral("bottom"))};
        caption->colour = uint32_t(readInt(text, QStringLiteral("color")));
        caption->size = readInt(text, QStringLiteral("size"));
        caption->font = text.GetValue(QStringLiteral("font"));
        caption->lines = text.GetText().split(QLatin1Char('\n'));
        caption->state = Caption::StateFor(caption->lines);
        album.AppendPhoto(handle, FileUtils::LastComponent(path), effect, std::move(caption));
    }
    for (ThumbHandle handle : made)
        if (handle != 0)
            thumbnails.ReleaseReference(handle);
    return true;
}

bool ProjectFile::ReadHeader(const QString& folder, ProjectHeader& header)
{
    const QString file = PathIn(folder);
    CXmlDocumentWrapper doc;
    if (!QFileInfo(file).isFile() || !doc.Load(file))
        return false;
    const CXmlNodeWrapper project = doc.AsNode().Find(QStringLiteral("project"));
    header.projectFile = file;
    header.photoCount = readInt(project, QStringLiteral("numphotos"));
    header.year = readInt(project, QStringLiteral("year"));
    header.month = readInt(project, QStringLiteral("month"));
    header.day = readInt(project, QStringLiteral("day"));
    header.thumbnail = project.GetValue(QStringLiteral("prj_thumb"));
    return true;
}

int ProjectFile::SavedTemplateIndex(const QString& projectFile)
{
    CXmlDocumentWrapper doc;
    if (!doc.Load(projectFile))
        return -1;
    const CXmlNodeWrapper templ = doc.AsNode().Find(QStringLiteral("template"));
    if (templ.GetValue(QStringLiteral("curID")).isEmpty())
        return -1;
    return readInt(templ, QStringLiteral("curID"));
}
