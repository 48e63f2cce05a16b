#include "screensaver/ScrnSaverEndRules.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using Action = CScrnSaverEndRules::CloseAction;

TEST(ScrnSaverEndRules, MouseThreshold)
{
    CScrnSaverEndRules rules;
    rules.Start({100, 100}, 0, {});
    EXPECT_FALSE(rules.MouseMoveEnds({103, 103}));
    EXPECT_FALSE(rules.MouseMoveEnds({97, 97}));
    EXPECT_TRUE(rules.MouseMoveEnds({104, 100}));
    EXPECT_TRUE(rules.MouseMoveEnds({100, 96}));
    rules.Start({100, 100}, 0, {0, 10});
    EXPECT_FALSE(rules.MouseMoveEnds({110, 90}));
    EXPECT_TRUE(rules.MouseMoveEnds({111, 100}));
}

TEST(ScrnSaverEndRules, CloseOnlyWhenAskedAndPasswordOnlyAfterTheDelay)
{
    CScrnSaverEndRules rules;
    int checks = 0;
    auto check = [&checks] { ++checks; return true; };
    rules.Start({0, 0}, 1000, {10, 3});
    EXPECT_EQ(rules.OnClose(2000, {}, check), Action::Ignore); // not asked for
    rules.RequestClose();
    EXPECT_EQ(rules.OnClose(11000, {}, check), Action::Close); // exactly 10 s: still within the delay
    EXPECT_EQ(checks, 0);

    rules.Start({0, 0}, 1000, {10, 3});
    rules.RequestClose();
    EXPECT_EQ(rules.OnClose(11001, {}, check), Action::Close);
    EXPECT_EQ(checks, 1);
}

TEST(ScrnSaverEndRules, ARefusedPasswordKeepsRunningFromTheNewPosition)
{
    CScrnSaverEndRules rules;
    bool verifyingDuringCheck = false;
    rules.Start({0, 0}, 0, {});
    rules.RequestClose();
    const Action action = rules.OnClose(5000, {50, 50}, [&] {
        verifyingDuringCheck = rules.Verifying();
        // Input while the check runs does not end the saver.
        EXPECT_FALSE(rules.InputEnds());
        EXPECT_FALSE(rules.MouseMoveEnds({500, 500}));
        return false;
    });
    EXPECT_EQ(action, Action::StayRunning);
    EXPECT_TRUE(verifyingDuringCheck);
    EXPECT_FALSE(rules.Verifying());
    EXPECT_FALSE(rules.CloseRequested());
    EXPECT_FALSE(rules.MouseMoveEnds({53, 47})); // small move from where the check ended
    EXPECT_TRUE(rules.MouseMoveEnds({54, 50}));
    EXPECT_TRUE(rules.InputEnds());
}

TEST(ScrnSaverEndRules, SettingsComeFromTheSaverSettingsFile)
{
    EXPECT_EQ(CScrnSaverEndRules::LoadSettings().passwordDelaySeconds, 0);
    EXPECT_EQ(CScrnSaverEndRules::LoadSettings().mouseThreshold, 3);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Orlemo";
    QDir().mkpath(folder);
    QFile file(folder + "/Screen Savers.conf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nPassword Delay=15\nMouse Threshold=junk\n");
    file.close();
    const CScrnSaverEndRules::Settings settings = CScrnSaverEndRules::LoadSettings();
    EXPECT_EQ(settings.passwordDelaySeconds, 15);
    EXPECT_EQ(settings.mouseThreshold, 3); // not a number: the default stays
    file.remove(); // a delay would keep later savers of this process from asking for the password
}
