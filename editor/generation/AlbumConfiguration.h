// The album configuration that a template movie reads: generation loads the
// template's own file, changes the music path, the auto-start flag and the
// slide list, and saves the result into the output. Everything else in the
// file is the template's and passes through unchanged.
#pragma once

#include <QString>

class AlbumModel;
class PhotoExporter;
struct AlbumOutput;
struct TemplateEntry;

class AlbumConfiguration {
public:
    // Writes output.RootFolder() + output.configurationName from the template's
    // configuration (output.templateFolder + output.configurationName). Each
    // photo is handed to the exporter while its slide is filled, so files and
    // slides correspond one to one. preview selects the preview rules (music
    // as a full path, uncaptioned photos played where they lie); autoStart
    // sets "startAutoPlay". False when the configuration cannot be written.
    static bool Write(const AlbumModel& album, const TemplateEntry& entry, const AlbumOutput& output,
                      PhotoExporter& exporter, bool preview, bool autoStart);

    // The "path" of preferences/global/music_property in the given
    // configuration file, or empty.
    static QString DefaultMusic(const QString& configurationPath);
};
