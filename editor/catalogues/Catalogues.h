// The effect and template catalogues: the transitions and templates an album
// can use, read once at start-up from the data files beside the program and
// kept for the whole run. Everything else refers to an effect or a template by
// its index in these arrays.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

struct EffectEntry {
    QString id;          // stored in a slide's "transition"; sent to the preview movie
    QString pictureFile; // file name in Sources/Effects/pngs/
    QString name;        // label in the effects list
    QImage picture;      // null when loading failed
};

struct TemplateEntry {
    QString configurationPath; // templates folder + "xml"
    QString moviePath;         // templates folder + "tplfname"
    QString name;              // "tplname"
    QString pictureFile;       // "png", relative to the templates folder
    int width = 0;             // "w"
    int height = 0;            // "h"
    bool thumbnails = false;   // "thumb" is exactly "true"
};

class EffectCatalogue {
public:
    static EffectCatalogue& instance();

    // Reads appDir/Sources/Effects/effects.xml and loads the pictures.
    // Returns the number of entries, 0 for an empty or unparsable file and
    // -1 when the file does not exist.
    int Load(const QString& appDir);
    void Clear();

    int Count() const { return int(m_entries.size()); }
    // The entry at index; an empty entry (no id, no picture) for an index
    // outside the catalogue.
    const EffectEntry& Entry(int index) const;
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    // The index of the effect with this id, or -1.
    int IndexOfId(const QString& id) const;

    static QString FilePath(const QString& appDir);
    static QString PicturesFolder(const QString& appDir);

private:
    std::vector<EffectEntry> m_entries;
};

class TemplateCatalogue {
public:
    static TemplateCatalogue& instance();

    // The template previews have one slot per template, so a catalogue holds
    // at most this many; later templates of the file are left out.
    static constexpr int kMaxTemplates = 20;

    // Reads Templates.xml in appDir/Sources/Templates/Previews/. Returns the
    // number of entries, 0 for an empty or unparsable file and -1 when the file
    // does not exist. The list pictures are loaded by the template list.
    int Load(const QString& appDir);
    void Clear() { m_entries.clear(); }

    int Count() const { return int(m_entries.size()); }
    // The entry at index; an empty entry (no paths, size 0) for an index
    // outside the catalogue.
    const TemplateEntry& Entry(int index) const;
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    const QString& Folder() const { return m_folder; }

    static QString FolderOf(const QString& appDir); // with a trailing "/"
    static QString FilePath(const QString& appDir);

private:
    std::vector<TemplateEntry> m_entries;
    QString m_folder;
};
