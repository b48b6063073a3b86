#include "document/TileSetChooser.h"

#include "document/FileSource.h"
#include "document/LevelReader.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <array>
#include <new>
#include <vector>

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

// The last part of a path, a folder's too.
std::string FileName(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameBmp(const TileSetBitmap& a, const TileSetBitmap& b) {
    return WriteTileSetBmp(a) == WriteTileSetBmp(b);
}

// Whether the editor's Open would read the file as a level; if not, why.
bool ReadsAsLevel(const ByteSource& file, std::string& why) {
    try {
        std::vector<Cell> cells(MAP_CELLS);
        ReadLevel(file, cells.data());
        return true;
    } catch (const ReadError& error) {
        why = error.what();
    } catch (const std::bad_alloc&) {
        why = messages::RECORDS_OUT_OF_MEMORY;
    }
    return false;
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

void TileSetChooser::Refuse(const std::string& reason) {
    m_nChoice = TILESET_NONE;
    m_imported.reset();
    m_reason = reason;
    m_note = m_name.empty() ? reason : m_name + " " + reason;
}

void TileSetChooser::RefuseWithMessage(const std::string& message) {
    Refuse(message);
    if (!m_name.empty())
        m_note = m_name + ": " + message;
}

void TileSetChooser::ChooseBuiltIn() {
    if (!m_builtIn) {
        m_nChoice = TILESET_NONE;
        m_reason = m_note = messages::NO_BUILTIN_TILE_SET;
        return;
    }
    m_nChoice = TILESET_BUILTIN;
}

void TileSetChooser::Select(const std::string& path) {
    if (path == m_lastPath)
        return;
    m_lastPath = path;
    m_name = FileName(path);
    try {
        const FileSource file(path);
        Choose(file, path);
    } catch (const ReadError& error) {
        RefuseWithMessage(error.what());
    }
}

void TileSetChooser::SelectBytes(const ByteSource& file, const std::string& path) {
    m_lastPath.clear();
    m_name = FileName(path);
    Choose(file, path);
}

// What the user meant decides the refusal: a BMP gets the loader's reason, a file named as a
// level the level reader's, a picture its own, and anything else is said to be none of them.
// A picture is tried before the level reader, as a picture is no level the editor wrote; a
// level that looks like the start of a picture to a format's quick test is not one unless the
// picture can be read.
void TileSetChooser::Choose(const ByteSource& file, const std::string& path) {
    m_note.clear();
    m_reason.clear();
    m_imported.reset();
    try {
        std::array<std::uint8_t, HEAD_BYTES> head{};
        const std::size_t got = file.ReadAt(0, head);
        // An empty level, or one of a single record, is a level all the same.
        if (got < HEAD_BYTES && got % RECORD_BYTES != 0)
            return Refuse(messages::TOO_SHORT_FOR_A_TILE_SET);
        if (got == HEAD_BYTES && head[0] == 'B' && head[1] == 'M')
            return TakeBmp(file);
        std::optional<PictureTileSet> picture;
        if (m_readPicture)
            picture = m_readPicture(file);
        if (picture && picture->decoded)
            return TakePicture(std::move(*picture));
        std::string notLevel;
        if (ReadsAsLevel(file, notLevel))
            return ChooseBuiltIn(); // a level without a tile set of its own
        if (NamesLevel(path))
            return Refuse(messages::NOT_A_LEVEL + notLevel);
        Refuse(picture ? picture->note : messages::NOT_A_TILE_SET);
    } catch (const ReadError& error) {
        RefuseWithMessage(error.what());
    } catch (const std::bad_alloc&) {
        RefuseWithMessage(messages::NO_TILE_SET_MEMORY);
    }
}

// A BMP, or a level with a tile set of its own. The level reader takes a BMP whose pixels are
// cut short with the missing ones black; as an import, that is no longer the file's picture.
void TileSetChooser::TakeBmp(const ByteSource& file) {
    m_imported = LoadTileSet(file);
    if (file.Size() < BMP_STANDARD_SIZE)
        return RefuseWithMessage(messages::BMP_PIXELS_CUT);
    m_nChoice = TILESET_IMPORTED;
}

void TileSetChooser::TakePicture(PictureTileSet picture) {
    if (!picture.note.empty())
        return Refuse(picture.note);
    if (!picture.tileSet)
        return ChooseBuiltIn(); // a picture of the built-in tile set
    m_imported = std::move(picture.tileSet);
    m_nChoice = TILESET_IMPORTED;
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
