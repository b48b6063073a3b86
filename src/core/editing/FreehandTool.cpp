#include "editing/FreehandTool.h"

#include "editing/MapViewEngine.h"

namespace krav {

void FreehandTool::Press(Point, int, int) {}
void FreehandTool::Move(Point, int) {}
void FreehandTool::Tick(Point, int) {}
void FreehandTool::PickTile(Point) {}

} // namespace krav
