// The editor's own settings, read once at start and written once at exit.
#pragma once

#include <QString>

struct EditorSettings {
    QString projectPath; // folder in which new albums are created
    QString lastPath;    // folder last shown in the folder tree
    int treeWidth = kDefaultTreeWidth;
    int thumbZoom = kDefaultThumbZoom;

    static constexpr int kDefaultTreeWidth = 200;
    static constexpr int kDefaultThumbZoom = 50;

    // The documents folder followed by "/My Photo Albums".
    static QString DefaultProjectPath();
    // The maker's web site (setting "Site"), ending in "/".
    static QString SiteAddress();

    // Missing values take their defaults; a stored 0 (or a value that is not a
    // number) for the tree width or the zoom reads as its default too.
    void Read();
    void Write() const;
};
