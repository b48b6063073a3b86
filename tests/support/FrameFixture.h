#pragma once

#include "document/CKRAVDoc.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

namespace krav::test {

// A shown main frame with a fresh profile, whose questions a fake answers; levels left
// modified are closed without asking.
class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        CKRAVApp::Profile()->clear();
        frame = std::make_unique<CMainFrame>();
        frame->SetPromptForTesting(prompt);
        frame->resize(1000, 700);
        frame->show();
    }
    void TearDown() override {
        for (CChildFrame* child : frame->ChildFrames())
            child->Document().SetModifiedFlag(false);
        frame.reset();
    }

    FakePrompt prompt;
    ScratchFolder folder;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace krav::test
