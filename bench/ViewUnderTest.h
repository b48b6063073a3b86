#pragma once

#include "document/CKRAVDoc.h"
#include "frame/HeadlessFrame.h"
#include "frame/MainFrameHub.h"
#include "frame/ScriptedPrompt.h"
#include "palettes/CRadarWnd.h"
#include "view/CKRAVView.h"
#include "view/ViewFrame.h"

#include <QImage>
#include <memory>

namespace krav::bench {

inline constexpr int CLIENT_WIDTH = 1920;
inline constexpr int CLIENT_HEIGHT = 1080;

// The main frame around one map view, as far as painting and editing need it: the hub and a
// real radar window the view's changes go to.
class BenchViewFrame final : public ViewFrame {
public:
    BenchViewFrame();
    MainFrameHub& Hub() override { return m_hub; }
    Prompt& UserPrompt() override { return m_prompt; }
    const QImage& ObjectPicture(int) const override { return m_picture; }
    QCursor ToolCursor(int) const override { return {}; }
    QCursor MoveCursor() const override { return {}; }
    void RadarCellsChanged(CKRAVView&, const Rect& cells) override { m_radar.UpdateCells(cells); }
    void RadarCellChanged(CKRAVView&, int x, int y) override { m_radar.UpdateCell(x, y); }
    void RadarViewScrolled(CKRAVView& view, bool vertical) override;
    void RadarViewRectChanged(CKRAVView& view) override;
    void RadarShowDocument(CKRAVView& view) override;

private:
    HeadlessFrame m_frame;
    ScriptedPrompt m_prompt;
    MainFrameHub m_hub{m_frame, m_prompt};
    QImage m_picture;
    CRadarWnd m_radar{nullptr};
};

// A shown map view of a dense level whose client area is CLIENT_WIDTH x CLIENT_HEIGHT,
// scrolled into the middle of the map.
class ViewUnderTest {
public:
    ViewUnderTest();
    ~ViewUnderTest();

    CKRAVView& View() { return *m_view; }
    MapViewEngine& Engine() { return m_view->Engine(); }
    MainFrameHub& Hub() { return m_frame.Hub(); }
    // Zoom 2.0 .. 0.0625, the view staying over the middle of the map.
    void SetZoom(double zoom);
    void SetGrid(bool shown);
    // Drags out a selection over some cells in the middle of the client area; false when
    // nothing got selected.
    bool SelectSome();
    // Paints the whole client area now.
    void PaintAll();
    // Runs posted events, such as the repaints asked for, until none are left.
    static void ProcessEvents();
    // How many times the client area was painted.
    int Paints() const;

private:
    BenchViewFrame m_frame;
    CKRAVDoc m_doc;
    std::unique_ptr<CKRAVView> m_view;
    std::unique_ptr<QObject> m_paintCounter;
};

} // namespace krav::bench
