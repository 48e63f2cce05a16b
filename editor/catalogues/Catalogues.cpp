#include "editor/catalogues/Catalogues.h"

#include "common/XmlDocument.h"

#include <QFileInfo>
#include <QImageReader>
#include <functional>

namespace {

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Depth-first walk in document order from the document element, visiting child
// nodes of every kind. A node is reported when its walk name (the local name of
// an element, the text of any other node) is exactly `name`; a node is reported
// before its descendants. Returns -1 when the file is missing, 0 when it cannot
// be parsed, 1 otherwise.
int walkCatalogue(const QString& path, const QString& name, const std::function<void(const CXmlNodeWrapper&)>& visit)
{
    if (!QFileInfo(path).isFile())
        return -1;
    CXmlDocumentWrapper doc;
    if (!doc.Load(path))
        return 0;
    std::vector<CXmlNodeWrapper> stack{doc.AsNode()};
    while (!stack.empty()) {
        const CXmlNodeWrapper node = stack.back();
        stack.pop_back();
        if (node.WalkName() == name)
            visit(node);
        const std::vector<CXmlNodeWrapper> children = node.ChildNodes();
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return 1;
}

QImage loadPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace

EffectCatalogue& EffectCatalogue::instance()
{
    static EffectCatalogue catalogue;
    return catalogue;
}

QString EffectCatalogue::FilePath(const QString& appDir)
{
    return withSlash(appDir) + QStringLiteral("Sources/Effects/effects.xml");
}

QString EffectCatalogue::PicturesFolder(const QString& appDir)
{
    return withSlash(appDir) + QStringLiteral("Sources/Effects/pngs/");
}

int EffectCatalogue::Load(const QString& appDir)
{
    Clear();
    const int result = walkCatalogue(FilePath(appDir), QStringLiteral("Effect"), [this](const CXmlNodeWrapper& node) {
        EffectEntry entry;
        // Every attribute is looked at in order, so a repeated name keeps its last value.
        for (int i = 0; i < node.NumAttributes(); ++i) {
            const QString attr = node.GetAttribName(i);
            if (attr == QLatin1String("id"))
                entry.id = node.GetAttribVal(i);
            else if (attr == QLatin1String("png"))
                entry.pictureFile = node.GetAttribVal(i);
            else if (attr == QLatin1String("name"))
                entry.name = node.GetAttribVal(i);
        }
        m_entries.push_back(std::move(entry));
    });
    if (result < 0)
        return -1;
    const QString pictures = PicturesFolder(appDir);
    for (EffectEntry& entry : m_entries)
        if (!entry.pictureFile.isEmpty())
            entry.picture = loadPicture(pictures + entry.pictureFile);
    return Count();
}

void EffectCatalogue::Clear() { m_entries.clear(); }

const EffectEntry& EffectCatalogue::Entry(int index) const
{
    static const EffectEntry none;
    return IsValidIndex(index) ? m_entries[size_t(index)] : none;
}

int EffectCatalogue::IndexOfId(const QString& id) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_entries[size_t(i)].id == id)
            return i;
    return -1;
}

TemplateCatalogue& TemplateCatalogue::instance()
{
    static TemplateCatalogue catalogue;
    return catalogue;
}

QString TemplateCatalogue::FolderOf(const QString& appDir)
{
    return withSlash(appDir) + QStringLiteral("Sources/Templates/Previews/");
}

QString TemplateCatalogue::FilePath(const QString& appDir)
{
    return FolderOf(appDir) + QStringLiteral("Templates.xml");
}

int TemplateCatalogue::Load(const QString& appDir)
{
    Clear();
    m_folder = FolderOf(appDir);
    const int result = walkCatalogue(FilePath(appDir), QStringLiteral("Template"), [this](const CXmlNodeWrapper& node) {
        if (Count() >= kMaxTemplates)
            return;
        TemplateEntry entry;
        for (int i = 0; i < node.NumAttributes(); ++i) {
            const QString attr = node.GetAttribName(i);
            const QString value = node.GetAttribVal(i);
            if (attr == QLatin1String("xml"))
                entry.configurationPath = value;
            else if (attr == QLatin1String("thumb"))
                entry.thumbnails = value == QLatin1String("true");
            else if (attr == QLatin1String("tplname"))
                entry.name = value;
            else if (attr == QLatin1String("tplfname"))
                entry.moviePath = value;
            else if (attr == QLatin1String("png"))
                entry.pictureFile = value;
            else if (attr == QLatin1String("w"))
                entry.width = ParseLeadingInt(value);
            else if (attr == QLatin1String("h"))
                entry.height = ParseLeadingInt(value);
        }
        entry.configurationPath.prepend(m_folder);
        entry.moviePath.prepend(m_folder);
        m_entries.push_back(std::move(entry));
    });
    return result < 0 ? -1 : Count();
}

const TemplateEntry& TemplateCatalogue::Entry(int index) const
{
    static const TemplateEntry none;
    return IsValidIndex(index) ? m_entries[size_t(index)] : none;
}
