#pragma once

#include "frame/ScriptedPrompt.h"

namespace krav::test {

// The tests' prompt: a question no answer was queued for fails the test.
class FakePrompt final : public ScriptedPrompt {
public:
    FakePrompt() : ScriptedPrompt(WhenUnanswered::Throw) {}
};

} // namespace krav::test
