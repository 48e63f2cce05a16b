#include "editor/core/SubjectManager.h"

#include <algorithm>

namespace {
CSubjectManager* g_manager = nullptr;
}

void CSubject::Attach(CObserver* observer)
{
    if (observer)
        m_observers.push_back(observer);
}

void CSubject::Detach(CObserver* observer)
{
    const auto it = std::find(m_observers.begin(), m_observers.end(), observer);
    if (it != m_observers.end())
        m_observers.erase(it);
}

void CSubject::Notify(int value)
{
    // An observer may detach itself (or another) while being told; only
    // observers still attached are called.
    const std::vector<CObserver*> snapshot = m_observers;
    for (CObserver* observer : snapshot)
        if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
            observer->Update(value);
}

CSubjectManager* CSubjectManager::Manager()
{
    if (!g_manager)
        g_manager = new CSubjectManager;
    return g_manager;
}

void CSubjectManager::Destroy()
{
    delete g_manager;
    g_manager = nullptr;
}

CSubjectManager::~CSubjectManager() { m_subjects.clear(); }

void CSubjectManager::Register(const QByteArray& name, CSubject* subject)
{
    std::unique_ptr<CSubject>& slot = m_subjects[name];
    if (slot.get() != subject)
        slot.reset(subject);
}

void CSubjectManager::Unregister(const QByteArray& name) { m_subjects.erase(name); }

CSubject* CSubjectManager::Find(const QByteArray& name) const
{
    const auto it = m_subjects.find(name);
    return it == m_subjects.end() ? nullptr : it->second.get();
}

CSubjectObserver::CSubjectObserver(const QByteArray& subjectName) : m_subjectName(subjectName)
{
    if (CSubject* subject = CSubjectManager::Manager()->Find(m_subjectName))
        subject->Attach(this);
}

CSubjectObserver::~CSubjectObserver()
{
    if (g_manager)
        if (CSubject* subject = g_manager->Find(m_subjectName))
            subject->Detach(this);
}
