#include "editor/core/UserMessages.h"

#include <gtest/gtest.h>

// Batch mode writes every message as one line on stderr and answers every
// question no, since no one is there to answer it.
TEST(UserMessages, StderrWritesOneLinePerMessageAndAnswersNo)
{
    using Kind = UserMessages::Kind;
    for (const Kind kind : {Kind::Information, Kind::Warning, Kind::Critical, Kind::Question}) {
        StderrMessages messages;
        testing::internal::CaptureStderr();
        const bool answer = messages.Present(kind, QStringLiteral("相册 %1 不存在").arg(int(kind)));
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(QString::fromLocal8Bit(written.c_str()), QStringLiteral("Kelvana: 相册 %1 不存在\n").arg(int(kind)));
        EXPECT_FALSE(answer);
    }
}
