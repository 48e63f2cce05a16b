// The running editor's context: the album being edited with its commands, and
// the services every window needs (thumbnail cache, catalogues, display and
// working copies, the hub, the settings, where messages go). Start-up builds
// one and hands it to the main window, which hands it on to each step window;
// windows reach the process-wide singletons only through it, so a test builds
// a context over its own cache and catalogues.
#pragma once

#include <memory>

class AlbumModel;
class CSubjectManager;
class DisplayCopies;
class EffectCatalogue;
class PhotoEditCommands;
class ProjectCommands;
class TemplateCatalogue;
class ThumbnailCache;
class UserMessages;
class WorkingCopyMap;
struct EditorSettings;

class EditorContext {
public:
    struct Services {
        ThumbnailCache& thumbnails;
        EffectCatalogue& effects;
        TemplateCatalogue& templates;
        DisplayCopies& displayCopies;
        WorkingCopyMap& workingCopies;
        CSubjectManager& hub;
    };
    // The process-wide ones.
    static Services ProcessServices();

    // Makes the album (and makes it AlbumModel::Instance() while this context
    // lives), its edit commands and its project commands.
    EditorContext(const Services& services, EditorSettings& settings, UserMessages& messages);
    ~EditorContext();
    EditorContext(const EditorContext&) = delete;
    EditorContext& operator=(const EditorContext&) = delete;

    AlbumModel& Album() const { return *m_album; }
    PhotoEditCommands& EditCommands() const { return *m_editCommands; }
    ProjectCommands& Projects() const { return *m_projects; }
    ThumbnailCache& Thumbnails() const { return m_services.thumbnails; }
    EffectCatalogue& Effects() const { return m_services.effects; }
    TemplateCatalogue& Templates() const { return m_services.templates; }
    DisplayCopies& Display() const { return m_services.displayCopies; }
    WorkingCopyMap& WorkingCopies() const { return m_services.workingCopies; }
    CSubjectManager& Hub() const { return m_services.hub; }
    EditorSettings& Settings() const { return m_settings; }
    UserMessages& Messages() const { return m_messages; }

private:
    Services m_services;
    EditorSettings& m_settings;
    UserMessages& m_messages;
    std::unique_ptr<AlbumModel> m_album;
    std::unique_ptr<PhotoEditCommands> m_editCommands;
    std::unique_ptr<ProjectCommands> m_projects;
};
