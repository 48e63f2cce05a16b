// The update check's decisions: the reply line, the build comparison and the
// prompt, for the replies a site may send.
#include "editor/shell/UpdateReply.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

struct ReplyCase {
    const char* answer;
    bool parsed;
    const char* version;
    const char* build;
    bool promptFor149; // an installed build 149 is offered the update
};

class UpdateReplyCases : public ::testing::TestWithParam<ReplyCase> {};

} // namespace

TEST_P(UpdateReplyCases, ParseAndCompare)
{
    const ReplyCase c = GetParam();
    const std::optional<UpdateReply> reply = UpdateReply::Parse(c.answer);
    ASSERT_EQ(reply.has_value(), c.parsed) << c.answer;
    if (!reply)
        return;
    EXPECT_EQ(reply->version, QString::fromUtf8(c.version)) << c.answer;
    EXPECT_EQ(reply->build, QString::fromUtf8(c.build)) << c.answer;
    EXPECT_EQ(UpdatePrompt("3", "149", *reply).has_value(), c.promptFor149) << c.answer;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, UpdateReplyCases,
    ::testing::Values(ReplyCase{"x#3#150", true, "3", "150", true},
                      ReplyCase{"x#3#149", true, "3", "149", false},
                      ReplyCase{"x#3", true, "3", "", false},           // no build: counts as 0
                      ReplyCase{"3#150", true, "150", "", false},       // two fields only
                      ReplyCase{"##x##3##150##", true, "3", "150", true}, // separators collapse
                      ReplyCase{"x#3#150abc", true, "3", "150abc", true},  // the number ends at a letter
                      ReplyCase{"x#3#beta", true, "3", "beta", false},
                      ReplyCase{"x#3#150\r\nx#9#999", true, "3", "150", true}, // first line only
                      ReplyCase{"x#3\n#150", true, "3", "", false},
                      ReplyCase{"x", false, "", "", false},
                      ReplyCase{"###", false, "", "", false},
                      ReplyCase{"", false, "", "", false}));

TEST(UpdateReply, PromptNamesBothVersionsInOrder)
{
    const std::optional<QString> prompt = UpdatePrompt("2", "149", *UpdateReply::Parse("x#3#150"));
    ASSERT_TRUE(prompt.has_value());
    EXPECT_EQ(*prompt, QString("A new version of Vantri Kelvana is available.\n\nYour version is: 2.149\n"
                               "Current version is: 3.150\n\nDo you want to get it?"));
    // Values are text, not patterns: a "%s" inside one stays as it is.
    const std::optional<QString> odd = UpdatePrompt("%s", "1", *UpdateReply::Parse("x#%s#2"));
    ASSERT_TRUE(odd.has_value());
    EXPECT_TRUE(odd->contains("Your version is: %s.1\nCurrent version is: %s.2")) << odd->toStdString();
}

TEST(UpdateReply, BuildNumbersReadAsTheInstallerWritesThem)
{
    const std::pair<const char*, int> cases[] = {
        {"150", 150}, {"  150", 150}, {"+150", 150}, {"-3", -3}, {"150abc", 150}, {"abc", 0},
        {"", 0}, {"- 3", 0}, {"99999999999", std::numeric_limits<int>::max()},
        {"-99999999999", std::numeric_limits<int>::min()},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(BuildNumber(text), value) << text;
}
