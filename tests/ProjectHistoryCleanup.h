// Empties the in-memory album history and recent projects, which live for the
// whole process: cases that open or save projects call it when they end, so
// that later cases of the same process start with empty lists.
#pragma once

#include "editor/core/HistoryRecord.h"
#include "editor/core/RecentProjects.h"

namespace TestSupport {
inline void ForgetProjectHistory()
{
    for (const QString& entry : QStringList(CHistoryRecord::Instance().Entries()))
        CHistoryRecord::Instance().Remove(entry);
    for (const QString& entry : QStringList(RecentProjects::Instance().Entries()))
        RecentProjects::Instance().Remove(entry);
}
} // namespace TestSupport
