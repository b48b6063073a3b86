#include "editing/StampTool.h"

#include "editing/FlagPolicy.h"
#include "editing/ToolContext.h"

#include <algorithm>
#include <cstdlib>

namespace krav {

void StampTool::Press(MouseButton, const PointerEvent& event) {
    if (!m_bStampPreview)
        PlaceStamp(event.client);
    StampObject();
}

void StampTool::Move(const PointerEvent& event) {
    const Point client = event.client;
    const Rect before = m_rcStamp.Inflated(1);
    if (!m_bStampPreview) {
        PlaceStamp(client);
        m_bStampPreview = true; // made now, shown from the next move on
        return;
    }
    if (client == m_ptStamp)
        return;
    m_bStampShown = true;
    MoveStamp(client);
    m_view.Host().InvalidateClient(before, true);
    m_view.Host().InvalidateClient(m_rcStamp.Inflated(1), true);
}

void StampTool::Enter() {
    DestroyPreview();
    SetObject(m_view.Host().GetStampObject());
}

void StampTool::Leave() {
    DestroyPreview();
}

void StampTool::Zoomed(const ViewGeometry&, Point pointer) {
    if (!m_bStampPreview)
        return;
    // The old rectangle went with the whole window's repaint.
    PlaceStamp(pointer);
}

void StampTool::DestroyPreview() {
    if (m_bStampShown)
        m_view.Host().InvalidateClient(m_rcStamp.Inflated(1), true);
    m_bStampPreview = m_bStampShown = false;
}

Rect StampTool::StampInsideMap(const Rect& client) const {
    const ViewGeometry& view = m_view.Geometry();
    return view.MapToClient(m_view.ClampIntoMap(view.ClientToMap(client)));
}

void StampTool::PlaceStamp(Point client) {
    const ViewGeometry& view = m_view.Geometry();
    const int cw = view.CellWidth();
    const int ch = view.CellHeight();
    const double zoom = view.Zoom();
    const int px = client.x / cw * cw;
    const int py = client.y / ch * ch;
    const int size = static_cast<int>(ObjectSide(m_nStampBase) * 16 * zoom);
    Point corner{px, py}; // the 1 x 1 object sits on the pointer's cell
    if (m_nStampBase == OBJECT_6X6 || m_nStampBase == OBJECT_2X2) {
        // The object's centre goes to the corner of the pointer's cell.
        corner = {px - size / 2, py - size / 2};
    } else if (m_nStampBase == OBJECT_5X5) {
        // The pointer's cell is the centre cell.
        const int offset = static_cast<int>(32 * zoom);
        corner = {px - offset, py - offset};
    }
    m_ptStamp = client;
    m_rcStamp = StampInsideMap({corner.x, corner.y, corner.x + size, corner.y + size});
}

void StampTool::MoveStamp(Point client) {
    const auto step = [](int d, int cell) { return std::abs(d) > cell ? d / cell * cell : 0; };
    const int dx = step(client.x - m_ptStamp.x, m_view.Geometry().CellWidth());
    const int dy = step(client.y - m_ptStamp.y, m_view.Geometry().CellHeight());
    m_ptStamp = {m_ptStamp.x + dx, m_ptStamp.y + dy};
    m_rcStamp = StampInsideMap(m_rcStamp.Offset(dx, dy));
}

void StampTool::StampObject() {
    // The footprint is taken from the preview's top-left cell: the preview's pixels only match
    // the object's cells at the zoom it was placed at.
    const ViewGeometry& view = m_view.Geometry();
    const Rect map = view.ClientToMap(m_rcStamp);
    const int side = ObjectSide(m_nStampBase);
    const int left = std::clamp(map.left / view.CellWidth(), 0, MAP_SIZE - side);
    const int top = std::clamp(map.top / view.CellHeight(), 0, MAP_SIZE - side);
    const Rect cells{left, top, left + side, top + side};
    CKRAVDoc& doc = m_view.Document();
    int& flags = m_view.Flags();
    ChangeList list;
    Cell value = m_nStampBase;
    for (int row = cells.top; row < cells.bottom; ++row) {
        for (int column = cells.left; column < cells.right; ++column) {
            const Cell old = doc.GetCell(row, column);
            if (IsObjectCell(old))
                m_view.EraseObject(column, row, old, list);
            ReleaseFlag(flags, old);
            RecordChange(list, column, row, old);
            doc.SetCell(row, column, value++);
        }
    }
    m_view.InvalidateBlock(cells);
    m_view.History().PushUndo(UndoKind::Stamp, std::move(list));
}

} // namespace krav
