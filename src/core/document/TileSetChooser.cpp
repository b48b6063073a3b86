#include "document/TileSetChooser.h"

#include "document/FileSource.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <array>
#include <new>

namespace krav {

namespace {

constexpr std::size_t HEAD_BYTES = 6;
constexpr std::size_t RECORD_BYTES = 4; // one cell of a level file

// A level file may start with any record; its name is what tells it from a picture.
bool NamesLevel(const std::string& path) {
    const std::string suffix = ".lvl";
    if (path.size() < suffix.size())
        return false;
    std::string tail = path.substr(path.size() - suffix.size());
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == suffix;
}

bool SameBmp(const TileSetBitmap& a, const TileSetBitmap& b) {
    return WriteTileSetBmp(a) == WriteTileSetBmp(b);
}

} // namespace

TileSetChooser::TileSetChooser(PictureReader readPicture) : m_readPicture(std::move(readPicture)) {
    try {
        m_builtIn = LoadBuiltInTileSet();
    } catch (const std::bad_alloc&) {
        m_note = messages::NO_BUILTIN_TILE_SET;
    }
}

const TileSetBitmap* TileSetChooser::Preview() const {
    if (m_nChoice == TILESET_IMPORTED)
        return m_imported.get();
    if (m_nChoice == TILESET_BUILTIN)
        return m_builtIn.get();
    return nullptr;
}

void TileSetChooser::Refuse(std::string reason, std::string note) {
    m_nChoice = TILESET_NONE;
    m_reason = std::move(reason);
    m_note = std::move(note);
}

void TileSetChooser::ChooseBuiltIn() {
    if (!m_builtIn)
        return Refuse(messages::NO_BUILTIN_TILE_SET, messages::NO_BUILTIN_TILE_SET);
    m_nChoice = TILESET_BUILTIN;
}

void TileSetChooser::Select(const std::string& path) {
    if (path == m_lastPath)
        return;
    m_lastPath = path;
    m_note.clear();
    m_reason.clear();
    m_imported.reset();
    try {
        const FileSource file(path);
        std::array<std::uint8_t, HEAD_BYTES> head{};
        const std::size_t got = file.ReadAt(0, head);
        if (got < HEAD_BYTES) {
            // An empty level, or one of a single record, is a level all the same.
            if (got % RECORD_BYTES == 0)
                return ChooseBuiltIn();
            return Refuse("is too short for a tile set or a level");
        }
        if (head[0] == 'B' && head[1] == 'M') {
            m_imported = LoadTileSet(file);
            m_nChoice = TILESET_IMPORTED;
            return;
        }
        if (!NamesLevel(path) && m_readPicture) {
            if (auto picture = m_readPicture(path)) {
                if (!picture->note.empty())
                    return Refuse(picture->note, picture->note);
                if (!picture->tileSet)
                    return ChooseBuiltIn();
                m_imported = std::move(picture->tileSet);
                m_nChoice = TILESET_IMPORTED;
                return;
            }
        }
        // A level without a tile set of its own.
        ChooseBuiltIn();
    } catch (const ReadError& error) {
        Refuse(error.what());
    } catch (const std::bad_alloc&) {
        Refuse(messages::NO_TILE_SET_MEMORY);
    }
}

bool TileSetChooser::ApplyTo(CKRAVDoc& doc) {
    bool changed = false;
    if (m_nChoice == TILESET_IMPORTED && m_imported) {
        changed =
            doc.IsDefaultTileSet() || !doc.GetTileSet() || !SameBmp(*doc.GetTileSet(), *m_imported);
        if (changed)
            doc.SetTileSet(TILESET_IMPORTED, std::move(m_imported));
    } else if (m_nChoice == TILESET_BUILTIN && m_builtIn) {
        changed = !doc.IsDefaultTileSet();
        if (changed)
            doc.SetTileSet(TILESET_BUILTIN, std::move(m_builtIn));
    }
    if (changed) {
        doc.SetModifiedFlag();
        // What was handed over is gone; OK cannot hand it twice.
        m_nChoice = TILESET_NONE;
        m_lastPath.clear();
    }
    return changed;
}

} // namespace krav
