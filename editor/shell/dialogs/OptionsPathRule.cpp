#include "editor/shell/dialogs/OptionsPathRule.h"

#include "common/FileUtils.h"
#include "editor/core/StringTable.h"

#include <QFileInfo>

OptionsPathRule::OptionsPathRule(Ask ask, Tell tell, MakePath makePath)
    : m_ask(std::move(ask)), m_tell(std::move(tell)), m_makePath(std::move(makePath))
{
    if (!m_makePath)
        m_makePath = [](const QString& path) { return FileUtils::MakePath(path); };
}

bool OptionsPathRule::Accept(const QString& path) const
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return true;
    switch (m_ask(Strings::Load(Strings::CreateFolderQuestion))) {
    case Answer::Yes:
        if (m_makePath(path) && QFileInfo(path).isDir())
            return true;
        m_tell(Strings::Load(Strings::CreateFolderFailed));
        return false;
    case Answer::No: return true;
    case Answer::Cancel: return false;
    }
    return false;
}
