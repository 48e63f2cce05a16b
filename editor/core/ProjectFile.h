// The project: an album saved as a folder F holding the project file N.qem
// (N is F's own name), the album thumbnail N_thumb.bmp and a "photos" folder
// with copies of the edited photos.
//
// The project file is XML with the root SaveDatas and three children in this
// order: template (album settings), photos (one photo per album photo, with a
// text child for a caption) and project (the header the album library reads).
#pragma once

#include <QString>
#include <vector>

class AlbumModel;

// A photo of a project file that the reader left out of the album, and why.
struct SkippedPhoto {
    int position = 0;  // its place among the file's photos, from 0
    QString photoName; // as the file names it
    QString reason;    // "the file does not exist", ...
};

// The project element, as the album library shows it.
struct ProjectHeader {
    QString projectFile; // F/N.qem
    int photoCount = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    QString thumbnail; // N + "_thumb.bmp", or empty
};

class ProjectFile {
public:
    // F/N.qem for the project folder F (with or without a trailing "/").
    static QString PathIn(const QString& folder);
    // F/N_thumb.bmp.
    static QString ThumbnailPathIn(const QString& folder);

    // Writes the album into the project folder F: makes F and F/photos/,
    // copies the edited photos there under their source names, writes the
    // album thumbnail and then the project file. `namedSave` is a Save of an
    // album that already has this folder (not a Save As): its old thumbnail
    // goes first. Every file is replaced atomically, so a failed save leaves
    // the previous project readable. False when the project cannot be written
    // completely; the project file is then not replaced.
    static bool Save(AlbumModel& album, const QString& folder, bool namedSave);

    // Reads a project file into the album, which the caller has emptied.
    // Photos whose files are gone or cannot be decoded are skipped; every photo
    // read gets a caption. False when the file is not a readable XML document;
    // the album is then left as it was. `skipped`, when given, receives the
    // photos that were left out, in file order, so that the user can be told.
    static bool Open(AlbumModel& album, const QString& projectFile, std::vector<SkippedPhoto>* skipped = nullptr);

    // Reads the project element of F/N.qem; false when that file does not
    // exist or cannot be parsed.
    static bool ReadHeader(const QString& folder, ProjectHeader& header);

    // The template index the project was saved with ("curID"), or -1.
    static int SavedTemplateIndex(const QString& projectFile);

    // The link written for a caption that has none: the maker's site.
    static QString DefaultLink();
};
