#include "editing/ShapeTools.h"

#include "editing/MapViewEngine.h"

namespace krav {

ShapeTools::ShapeTools(MapViewEngine& view) : m_view(view), m_aPoints(MAX_SHAPE_POINTS) {}
ShapeTools::~ShapeTools() = default;
void ShapeTools::Press(int, Point, int, int) {}
void ShapeTools::Move(int, Point, int) {}
bool ShapeTools::Release(int, Point, int, int) { return false; }
void ShapeTools::FinishConnectedLine(int, Point, int) {}
void ShapeTools::Escape() {}
std::span<const ShapePoint> ShapeTools::PreviewPoints() const { return {}; }

} // namespace krav
