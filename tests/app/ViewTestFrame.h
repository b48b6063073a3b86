#pragma once

// A main frame around map views that only counts how often the radar is told of scrolling.
#include "frame/HeadlessFrame.h"
#include "frame/MainFrameHub.h"
#include "support/FakePrompt.h"
#include "view/CKRAVView.h"
#include "view/ViewFrame.h"

#include <QImage>

namespace krav::test {

class TestViewFrame final : public ViewFrame {
public:
    MainFrameHub& Hub() override { return hub; }
    Prompt& UserPrompt() override { return prompt; }
    const QImage& ObjectPicture(int) const override { return picture; }
    QCursor ToolCursor(int) const override { return {}; }
    QCursor MoveCursor() const override { return {}; }
    void RadarCellsChanged(CKRAVView&, const Rect&) override {}
    void RadarCellChanged(CKRAVView&, int, int) override {}
    void RadarViewScrolled(CKRAVView&, bool) override { ++radarScrolls; }
    void RadarViewRectChanged(CKRAVView&) override {}
    void RadarShowDocument(CKRAVView&) override {}

    HeadlessFrame frame;
    FakePrompt prompt;
    MainFrameHub hub{frame, prompt};
    QImage picture;
    int radarScrolls = 0;
};

} // namespace krav::test
