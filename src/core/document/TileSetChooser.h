#pragma once

#include "document/ByteSource.h"
#include "document/CKRAVDoc.h"
#include "document/TileSetBitmap.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace krav {

// What OK would do, besides TILESET_IMPORTED and TILESET_BUILTIN.
inline constexpr int TILESET_NOTHING_SELECTED = 5002;
inline constexpr int TILESET_NONE = 0; // the selection gives no tile set

// The tile set a picture file other than a BMP gives.
struct PictureTileSet {
    std::unique_ptr<TileSetBitmap> tileSet; // null and no note: the built-in tile set
    std::string note;                       // why the picture gives no tile set
    bool decoded = true; // false: its format was told, but its pixels could not be read
};

// Reads a file's bytes as a picture; nothing when they are of no format the reader knows.
using PictureReader = std::function<std::optional<PictureTileSet>(const ByteSource& file)>;

// The Import Tileset dialog's preview and choice, without the dialog: the files selected in
// it go to Select, OK calls ApplyTo.
class TileSetChooser {
public:
    // Makes the built-in tile set; when that fails, the built-in set cannot be chosen.
    explicit TileSetChooser(PictureReader readPicture = {});

    // A change of the selected file. The same path as the last one is not read again.
    void Select(const std::string& path);
    // The same for a file's bytes at hand; path names it in the note, and ".lvl" at its end
    // says a level is meant. Always read.
    void SelectBytes(const ByteSource& file, const std::string& path);

    int Choice() const { return m_nChoice; }
    // The tile set to preview; null when the placeholder is shown.
    const TileSetBitmap* Preview() const;
    // The line the preview area shows (empty: none): why the file gives no tile set, after its
    // name.
    const std::string& Note() const { return m_note; }
    // Why the selection gives no tile set, to follow "PATH: ": what the loader or the level
    // reader says, or a description that goes on from the file's name ("is ...").
    const std::string& Reason() const { return m_reason; }
    bool HasBuiltIn() const { return m_builtIn != nullptr; }

    // Hands the chosen tile set to doc; true when its tile set changed, which also marks it
    // modified. The cells are never touched.
    bool ApplyTo(CKRAVDoc& doc);

private:
    void Choose(const ByteSource& file, const std::string& path);
    void TakeBmp(const ByteSource& file);
    void TakePicture(PictureTileSet picture);
    // reason goes on from the file's name; a message says it all.
    void Refuse(const std::string& reason);
    void RefuseWithMessage(const std::string& message);
    void ChooseBuiltIn();

    PictureReader m_readPicture;
    std::unique_ptr<TileSetBitmap> m_builtIn;
    std::unique_ptr<TileSetBitmap> m_imported;
    int m_nChoice = TILESET_NOTHING_SELECTED;
    std::string m_lastPath;
    std::string m_name; // of the file being read, without its folder
    std::string m_note;
    std::string m_reason;
};

} // namespace krav
