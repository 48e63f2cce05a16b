#include "editor/core/EditorContext.h"

#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"

EditorContext::Services EditorContext::ProcessServices()
{
    return Services{ThumbnailCache::Instance(), EffectCatalogue::instance(), TemplateCatalogue::instance(),
                    DisplayCopies::Instance(),  WorkingCopyMap::Instance(),  *CSubjectManager::Manager()};
}

EditorContext::EditorContext(const Services& services, EditorSettings& settings, UserMessages& messages)
    : m_services(services), m_settings(settings), m_messages(messages),
      m_album(std::make_unique<AlbumModel>(services.thumbnails, services.effects))
{
    AlbumModel::SetInstance(m_album.get());
    m_editCommands = std::make_unique<PhotoEditCommands>(*m_album, services.thumbnails, services.workingCopies,
                                                         services.displayCopies);
    m_editCommands->SetMessageSink([&messages](const QString& text) { messages.Warning(text); });
    m_projects = std::make_unique<ProjectCommands>(*m_album, messages);
    m_projects->SetProjectPath(settings.projectPath);
}

EditorContext::~EditorContext()
{
    m_projects.reset();
    m_editCommands.reset();
    if (AlbumModel::Instance() == m_album.get())
        AlbumModel::SetInstance(nullptr);
}
