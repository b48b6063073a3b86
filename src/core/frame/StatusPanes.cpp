#include "frame/StatusPanes.h"

#include "editing/MapViewEngine.h"

namespace krav {

std::array<std::string, 5> StatusPaneTexts(const MapViewEngine* view) {
    if (!view)
        return {" ", " ", " ", " ", " "};
    std::string extent = " ";
    if (view->HasSelection() || view->IsFloating())
        extent = view->SelectionText();
    else if (view->IsDrawingLine())
        extent = view->LineText();
    return {view->CursorText(), view->VisibleAreaText(), extent, view->ZoomText(),
            view->FlagsText()};
}

} // namespace krav
