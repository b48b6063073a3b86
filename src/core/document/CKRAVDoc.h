#pragma once

#include "Prompt.h"
#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace krav {

// What opening a level does with records whose code is no tile and no object.
enum class UnknownCodes {
    Refuse, // the level does not open; the message says where they are
    Keep,   // they are kept as cells of their own (KeptCell)
    Ask,    // the message asks whether to open it keeping them
};

// One open level: the 1024 x 1024 map, its tile set, the flags it was read with, and the
// file it belongs to.
class CKRAVDoc {
public:
    CKRAVDoc();
    ~CKRAVDoc();
    CKRAVDoc(const CKRAVDoc&) = delete;
    CKRAVDoc& operator=(const CKRAVDoc&) = delete;

    // y is the row, x the column, both 0..1023.
    Cell GetCell(int y, int x) const { return m_cells[y * MAP_SIZE + x]; }
    // Stores value and marks the document modified; false (and nothing changed) when the
    // cell already holds it. Views are not told.
    bool SetCell(int y, int x, Cell value);
    Cell* GetCells() { return m_cells.get(); }
    const Cell* GetCells() const { return m_cells.get(); }

    // Flags the level held when it was read (at most MAX_FLAGS); editing does not change it.
    int GetFlagCount() const { return m_nInitialFlags; }

    // Whether reading the level had to settle special objects that overlapped each other or
    // lay under tiles (see ReadLevel).
    bool ObjectsSettledOnRead() const { return m_bObjectsSettled; }

    // Empties every cell, then asks the views to redraw everything.
    void ClearMap(bool markModified);

    // Replaces the tile set (kind TILESET_IMPORTED or TILESET_BUILTIN). The caller marks
    // the document modified and tells the views.
    void SetTileSet(int kind, std::unique_ptr<TileSetBitmap> tileSet);
    const TileSetBitmap* GetTileSet() const { return m_pTileSet.get(); }
    bool IsDefaultTileSet() const { return m_bDefaultTileSet; }

    // The bytes of the level file.
    std::vector<std::uint8_t> Serialize() const;

    // A new level: empty map, built-in tile set.
    bool OnNewDocument(Prompt& prompt);
    // Reads a level; shows the reason and returns false when it cannot be read. Warnings
    // are shown too, and the level is still opened.
    bool OnOpenDocument(const std::string& path, Prompt& prompt,
                        UnknownCodes unknown = UnknownCodes::Refuse);
    // Writes the level atomically; on failure shows why and stays modified.
    bool OnSaveDocument(const std::string& path, Prompt& prompt);
    void OnCloseDocument();

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and takes its file name as the title.
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

    // Called when every view must redraw the whole map (ClearMap).
    void SetUpdateAllViews(std::function<void()> callback) {
        m_updateAllViews = std::move(callback);
    }

private:
    std::unique_ptr<Cell[]> m_cells;
    std::unique_ptr<TileSetBitmap> m_pTileSet;
    bool m_bDefaultTileSet = true;
    int m_nInitialFlags = 0;
    bool m_bObjectsSettled = false;
    bool m_bModified = false;
    std::string m_strPathName;
    std::string m_strTitle;
    std::function<void()> m_updateAllViews;
};

} // namespace krav
