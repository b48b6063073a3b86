// The prompt without a display: what krav-lvl play prints and how queued answers are taken.
#include "document/Messages.h"
#include "frame/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace krav {
namespace {

using Answer = Prompt::Answer;
using When = ScriptedPrompt::WhenUnanswered;

TEST(ScriptedPrompt, EchoesEveryMessageQuestionAndBeepOnOneLineEach) {
    std::ostringstream out;
    ScriptedPrompt prompt(When::Decline, &out);
    prompt.ShowMessage(messages::TILE_ID_OUT_OF_RANGE);
    prompt.Beep(48);
    prompt.answers = {true};
    EXPECT_TRUE(prompt.AskYesNo("KRAV", "Erase the map?"));
    EXPECT_EQ(prompt.AskYesNoCancel("KRAV", "Save changes to KRAV1?"), Answer::Cancel);
    EXPECT_EQ(out.str(), "message: The map tile data is corrupt:\\nTile ID out of Range!\n"
                         "beep: 48\n"
                         "message: Erase the map?\n"
                         "message: Save changes to KRAV1?\n");
    EXPECT_EQ(prompt.messages.front(), messages::TILE_ID_OUT_OF_RANGE);
    EXPECT_EQ(prompt.messages.size(), 3u);
    EXPECT_EQ(prompt.beeps, std::vector<int>{48});
}

TEST(ScriptedPrompt, QuestionsTakeTheirQueuedAnswersInOrder) {
    struct Case {
        std::string name;
        std::deque<bool> answers;
        std::deque<Answer> threeWay;
        Answer expected;
        std::size_t answersLeft;
        std::size_t threeWayLeft;
    };
    const std::vector<Case> cases = {
        {"three-way answer first", {true}, {Answer::Cancel}, Answer::Cancel, 1, 0},
        {"then a yes", {true}, {}, Answer::Yes, 0, 0},
        {"then a no", {false, true}, {}, Answer::No, 1, 0},
        {"nothing queued declines", {}, {}, Answer::Cancel, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompt prompt;
        prompt.answers = c.answers;
        prompt.threeWayAnswers = c.threeWay;
        EXPECT_EQ(prompt.AskYesNoCancel("KRAV", "Save changes?"), c.expected);
        EXPECT_EQ(prompt.answers.size(), c.answersLeft);
        EXPECT_EQ(prompt.threeWayAnswers.size(), c.threeWayLeft);
    }
}

TEST(ScriptedPrompt, AYesNoQuestionLeavesThreeWayAnswersAndDeclinesWithoutItsOwn) {
    ScriptedPrompt prompt;
    prompt.threeWayAnswers = {Answer::Yes};
    EXPECT_FALSE(prompt.AskYesNo("KRAV", "Erase the map?"));
    EXPECT_EQ(prompt.threeWayAnswers.size(), 1u);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Erase the map?"});
}

TEST(ScriptedPrompt, AnUnexpectedQuestionThrowsWhenAskedTo) {
    ScriptedPrompt prompt(When::Throw);
    EXPECT_THROW(prompt.AskYesNo("KRAV", "Erase the map?"), std::logic_error);
    EXPECT_THROW(prompt.AskYesNoCancel("KRAV", "Save changes?"), std::logic_error);
    prompt.ShowMessage("a message is never a question");
    prompt.answers = {true};
    EXPECT_EQ(prompt.AskYesNoCancel("KRAV", "Save changes?"), Answer::Yes);
}

} // namespace
} // namespace krav
