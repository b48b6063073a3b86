#include "editing/SelectionTool.h"

#include "editing/MapViewEngine.h"

namespace krav {

void SelectionTool::Press(int, Point) {}
void SelectionTool::Move(Point) {}
void SelectionTool::FinishSelecting() {}
void SelectionTool::EndDrag() {}
void SelectionTool::Tick(int, Point) {}
void SelectionTool::LeaveSelectTool() {}
bool SelectionTool::HasSelection() const { return false; }
bool SelectionTool::IsFloating() const { return false; }
void SelectionTool::FloatSelection() {}
void SelectionTool::DropSelection() {}
void SelectionTool::DiscardFloating() {}
void SelectionTool::CopySelection(CopyBuffer&, bool) {}
void SelectionTool::PasteBlock(const CopyBuffer&) {}
void SelectionTool::FillSelection() {}
void SelectionTool::FlipHorizontal() {}
void SelectionTool::FlipVertical() {}
CellBlock SelectionTool::CopyBlock(const Rect&, int) { return nullptr; }
bool SelectionTool::StampBlock(const Rect&, const std::vector<Cell>&) { return false; }
bool SelectionTool::GrowToObjects() { return false; }

} // namespace krav
