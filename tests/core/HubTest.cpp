#include "editor/core/SubjectManager.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::pair<int, int>> g_calls; // (observer id, value)

class Recorder : public CSubjectObserver {
public:
    Recorder(int id, const QByteArray& subject = kSubjectPrjState) : CSubjectObserver(subject), m_id(id) {}
    void Update(int value) override { g_calls.emplace_back(m_id, value); }

private:
    int m_id;
};

class HubTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        CSubjectManager::Manager()->Register(kSubjectPrjState, new CSubject);
        CSubjectManager::Manager()->Register(kSubjectButtonState, new CSubject);
    }
    void TearDown() override { CSubjectManager::Destroy(); }
};

} // namespace

TEST_F(HubTest, ObserversAreCalledInAttachmentOrderUntilDetached)
{
    auto first = std::make_unique<Recorder>(1);
    auto second = std::make_unique<Recorder>(2);
    Recorder other(3, kSubjectButtonState);
    CSubjectManager::Manager()->Find(kSubjectPrjState)->Notify(1);
    EXPECT_EQ(g_calls, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));

    g_calls.clear();
    first.reset(); // detaches
    CSubjectManager::Manager()->Find(kSubjectPrjState)->Notify(1);
    CSubjectManager::Manager()->Find(kSubjectButtonState)->Notify(0);
    EXPECT_EQ(g_calls, (std::vector<std::pair<int, int>>{{2, 1}, {3, 0}}));
}

TEST_F(HubTest, RegisteringUnderAnExistingNameReplacesTheEntry)
{
    CSubject* replacement = new CSubject;
    Recorder old(1); // attached to the first subject
    CSubjectManager::Manager()->Register(kSubjectPrjState, replacement);
    EXPECT_EQ(CSubjectManager::Manager()->Find(kSubjectPrjState), replacement);
    Recorder fresh(2);
    replacement->Notify(1);
    EXPECT_EQ(g_calls, (std::vector<std::pair<int, int>>{{2, 1}}));
    EXPECT_EQ(CSubjectManager::Manager()->Find("NeverRegistered"), nullptr);
    CSubjectManager::Manager()->Unregister(kSubjectButtonState);
    EXPECT_EQ(CSubjectManager::Manager()->Find(kSubjectButtonState), nullptr);
}
