#pragma once

// Every text the core shows to the user: the level document, the tile set loader, the
// editing tools and the main frame. Tests use these names rather than retyping the texts.
namespace krav::messages {

// Where users send corrupt tile sets; it ends the width and height messages.
inline constexpr const char* CONTACT_ADDRESS = "krav-maps@lists.krav.example";

inline constexpr const char* COULD_NOT_OPEN = "Couldn't open file.";
inline constexpr const char* NO_TILE_SET = "Unknown error!\nCouldn't load tile set bitmap.\n";
inline constexpr const char* TILE_ID_OUT_OF_RANGE =
    "The map tile data is corrupt:\nTile ID out of Range!";
// After the tile data message and where the unknown records are (UnknownRecordsMessage).
inline constexpr const char* OPEN_KEEPING_UNKNOWN =
    "Open the level keeping these cells? They are shown marked, and saved back as they were "
    "read unless you paint over them.";
inline constexpr const char* KEEP_UNKNOWN_OPTION =
    "krav-lvl reads it keeping these cells with --keep-unknown.";
inline constexpr const char* TOO_MANY_INITIAL_FLAGS =
    "This map has to many initial flags\nI'll let it slide but you will not be able to add "
    "anymore.";
inline constexpr const char* RECORDS_OUT_OF_MEMORY =
    "Memory allocation failure!\nCouldn't allocate memory for the map tile data.";

inline constexpr const char* NO_FILE_STRUCTURE =
    "Memory allocation failure!\nCouldn't allocate bitmap file structure.";
inline constexpr const char* NO_INFO_STRUCTURE =
    "Memory allocation failure!\nCouldn't allocate bitmap info structure.";
inline constexpr const char* WIDTH_NOT_304 =
    "Tile set bitmap is corrupt:\nWidth is not equal to 304 pixels!\n\nSend me an email right "
    "now I'll try to help you.\n";
inline constexpr const char* HEIGHT_NOT_160 =
    "Tile set bitmap is corrupt:\nHeight is not equal to 160 pixels!\n\nSend me an email right "
    "now I'll try to help you.\n";
inline constexpr const char* NOT_256_COLOURS =
    "Tile set bitmap has incorrect color format:\nThis is not a 256 color bitmap!";
inline constexpr const char* NO_TILE_SET_MEMORY =
    "Memory Allocation Error:\nCouldn't allocate memory for tile set bitmap!";
inline constexpr const char* BMP_TRUNCATED =
    "Tile set bitmap is corrupt:\nThe file ends inside the bitmap's headers or color table!";
inline constexpr const char* BMP_PIXELS_CUT =
    "Tile set bitmap is corrupt:\nThe file ends inside the bitmap's pixels!";
inline constexpr const char* BMP_SIZE_TOO_SMALL =
    "Tile set bitmap is corrupt:\nThe file size in its header leaves no room for 304 x 160 "
    "pixels!";

inline constexpr const char* SAVE_FAILED = "Failed to save document.";
inline constexpr const char* DISK_FULL = "Destination disk drive is full.";
// %1 is the path of the file.
inline constexpr const char* READ_ONLY =
    "Unable to write to %1, it is read-only or opened by someone else.";

// The editing tools.
inline constexpr const char* FLAG_LIMIT = "To many flags!\nYou can't add anymore.";
inline constexpr const char* HISTORY_FLAG_LIMIT = "To many flags!\nCancelling this operation.";
inline constexpr const char* FLAGS_SKIPPED = "To many flags!\nSome flags in copy will be skipped.";
inline constexpr const char* FILL_CANCELLED = "To many flags!\nCancelling the fill.";
inline constexpr const char* COPY_FAILED = "Out of memory!\nCopy could not be made.";
inline constexpr const char* CANNOT_MOVE = "Out of memory!\nTiles can not be moved.";
inline constexpr const char* CANNOT_FLIP = "Out of memory!\nTiles can not be flipped.";
// Two wordings: Fill and the flips end without a full stop, moving blocks with one.
inline constexpr const char* NOT_UNDOABLE = "Out of memory!\nThis operation can not be undone";
inline constexpr const char* NOT_UNDOABLE_STOP =
    "Out of memory!\nThis operation can not be undone.";

// The main frame.
inline constexpr const char* ERASE_MAP_TITLE = "Warning!";
inline constexpr const char* ERASE_MAP_QUESTION =
    "The entire map will be erased. This operation cannot be undone! Continue?";

// The Import Tileset dialog's preview area.
inline constexpr const char* NO_BUILTIN_TILE_SET =
    "The built-in tile set could not be made (out of memory): only tile sets from files can be "
    "chosen.";
// After a file's name.
inline constexpr const char* NOT_A_TILE_SET = "is not a BMP, a picture or a level";
inline constexpr const char* NOT_A_LEVEL = "cannot be read as a level: ";
inline constexpr const char* TOO_SHORT_FOR_A_TILE_SET = "is too short for a tile set or a level";

} // namespace krav::messages
