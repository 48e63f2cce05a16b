// A small publish-and-subscribe hub: the project commands and the explore pane
// tell other panes that something changed without knowing them. Subjects are
// registered by name; observers attach by name and are called synchronously,
// in attachment order, on the notifying (user-interface) thread.
#pragma once

#include <QByteArray>
#include <map>
#include <memory>
#include <vector>

class CObserver {
public:
    virtual ~CObserver() = default;
    virtual void Update(int value) = 0;
};

class CSubject {
public:
    virtual ~CSubject() = default;
    virtual void Attach(CObserver* observer);
    virtual void Detach(CObserver* observer);
    virtual void Notify(int value);

private:
    std::vector<CObserver*> m_observers; // not owned
};

class CSubjectManager {
public:
    // The manager, created on first call.
    static CSubjectManager* Manager();
    // Deletes the manager and every subject it holds (at shutdown).
    static void Destroy();

    virtual ~CSubjectManager();
    // Stores the subject under the name, replacing (and deleting) an earlier one.
    virtual void Register(const QByteArray& name, CSubject* subject);
    virtual void Unregister(const QByteArray& name);
    virtual CSubject* Find(const QByteArray& name) const;

private:
    std::map<QByteArray, std::unique_ptr<CSubject>> m_subjects;
};

// The two subjects of the editor.
inline constexpr const char* kSubjectPrjState = "PrjState";       // value 1: a project was opened, started or closed
inline constexpr const char* kSubjectButtonState = "ButtonState"; // 1: the explore area shows the album library

// Base of the panes' observers: attaches to its subject when constructed and
// detaches when destroyed. Does nothing when the subject is not registered.
class CSubjectObserver : public CObserver {
public:
    explicit CSubjectObserver(const QByteArray& subjectName);
    ~CSubjectObserver() override;
    CSubjectObserver(const CSubjectObserver&) = delete;
    CSubjectObserver& operator=(const CSubjectObserver&) = delete;

private:
    QByteArray m_subjectName;
};
