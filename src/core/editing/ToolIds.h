#pragma once

namespace krav {

// Tools are command ids; the main frame keeps the current one.
inline constexpr int ID_TOOL_PENCIL = 32100;
inline constexpr int ID_TOOL_SELECT = 32101;
inline constexpr int ID_TOOL_ERASER = 32102;
inline constexpr int ID_TOOL_STAMP = 32103;
inline constexpr int ID_TOOL_MAGNIFY = 32104;
inline constexpr int ID_TOOL_DROPPER = 32105;
inline constexpr int ID_TOOL_LINE = 32110;
inline constexpr int ID_TOOL_CONNECTED_LINE = 32111;
inline constexpr int ID_TOOL_RECTANGLE = 32112;
inline constexpr int ID_TOOL_FILLED_RECTANGLE = 32113;
inline constexpr int ID_TOOL_ELLIPSE = 32114;
inline constexpr int ID_TOOL_FILLED_ELLIPSE = 32115;
inline constexpr int ID_TOOL_FIRST = ID_TOOL_PENCIL;
inline constexpr int ID_TOOL_LAST = ID_TOOL_FILLED_ELLIPSE;

inline constexpr bool IsShapeTool(int tool) {
    return tool >= ID_TOOL_LINE && tool <= ID_TOOL_FILLED_ELLIPSE;
}
inline constexpr bool IsFreehandTool(int tool) {
    return tool == ID_TOOL_PENCIL || tool == ID_TOOL_ERASER;
}

// Button flags of mouse events.
inline constexpr int MK_LBUTTON = 1;
inline constexpr int MK_RBUTTON = 2;
inline constexpr int MK_SHIFT = 4;
inline constexpr int MK_CONTROL = 8;

// Keys the map view handles.
enum class ViewKey { Escape, Tab, PageUp, PageDown, Left, Up, Right, Down, Home, End };

} // namespace krav
