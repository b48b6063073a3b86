#pragma once

#include "document/TileCodes.h"
#include "editing/Tool.h"

namespace krav {

class ToolContext;

// The Rubber Stamp: a preview of the chosen special object follows the pointer in whole
// cells, and a press writes the object there as one undo step, removing whatever objects it
// covers.
class StampTool final : public Tool {
public:
    explicit StampTool(ToolContext& view) : m_view(view) {}

    // Either button stamps; a press before any movement stamps where the pointer is.
    void Press(MouseButton button, const PointerEvent& event) override;
    // The preview follows the pointer (made on the first move, shown from the next).
    void Move(const PointerEvent& event) override;
    // Chosen: the preview starts again with the object chosen in the main frame.
    void Enter() override;
    void Leave() override;
    // A preview made before the zoom is made again, at the new size, under the pointer.
    void Zoomed(const ViewGeometry& before, Point pointer) override;

    // Where the footprint of the stamp object lies for a pointer at a client point (kept
    // inside the map), and writing it there.
    void PlaceStamp(Point client);
    void StampObject();

    // The object stamped: the main frame's choice, taken when the tool is chosen.
    Cell Object() const { return m_nStampBase; }
    void SetObject(Cell base) { m_nStampBase = base; }
    // The preview's client rectangle, and whether it is shown.
    const Rect& PreviewRect() const { return m_rcStamp; }
    bool IsPreviewShown() const { return m_bStampShown; }

private:
    void MoveStamp(Point client);
    void DestroyPreview();
    Rect StampInsideMap(const Rect& client) const;

    ToolContext& m_view;
    Cell m_nStampBase = OBJECT_6X6;
    Rect m_rcStamp;
    Point m_ptStamp;
    bool m_bStampPreview = false; // made by the first move
    bool m_bStampShown = false;   // drawn, from the next move on
};

} // namespace krav
