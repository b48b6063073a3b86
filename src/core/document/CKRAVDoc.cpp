#include "document/CKRAVDoc.h"

#include "document/AtomicFile.h"
#include "document/FileErrors.h"
#include "document/FileSource.h"
#include "document/KeptCells.h"
#include "document/LevelReader.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <algorithm>
#include <cerrno>

namespace krav {

namespace {

std::string SaveErrorMessage(SaveError error, const std::string& path) {
    switch (error) {
    case SaveError::DiskFull:
        return messages::DISK_FULL;
    case SaveError::ReadOnly: {
        const std::string text = messages::READ_ONLY;
        const auto at = text.find("%1");
        return text.substr(0, at) + path + text.substr(at + 2);
    }
    default:
        return messages::SAVE_FAILED;
    }
}

} // namespace

CKRAVDoc::CKRAVDoc() : m_cells(std::make_unique<Cell[]>(MAP_CELLS)) {
    std::fill_n(m_cells.get(), MAP_CELLS, EMPTY_CELL);
}

CKRAVDoc::~CKRAVDoc() = default;

bool CKRAVDoc::SetCell(int y, int x, Cell value) {
    Cell& cell = m_cells[y * MAP_SIZE + x];
    if (cell == value)
        return false;
    cell = value;
    m_bModified = true;
    return true;
}

void CKRAVDoc::ClearMap(bool markModified) {
    std::fill_n(m_cells.get(), MAP_CELLS, EMPTY_CELL);
    if (markModified)
        m_bModified = true;
    if (m_updateAllViews)
        m_updateAllViews();
}

void CKRAVDoc::SetTileSet(int kind, std::unique_ptr<TileSetBitmap> tileSet) {
    m_bDefaultTileSet = kind == TILESET_BUILTIN;
    m_pTileSet = std::move(tileSet);
}

std::vector<std::uint8_t> CKRAVDoc::Serialize() const {
    return WriteLevel(m_cells.get(), m_bDefaultTileSet ? nullptr : m_pTileSet.get());
}

bool CKRAVDoc::OnNewDocument(Prompt& prompt) {
    try {
        m_pTileSet = LoadBuiltInTileSet();
    } catch (const std::bad_alloc&) {
        prompt.ShowMessage(messages::NO_FILE_STRUCTURE);
        return false;
    }
    m_bDefaultTileSet = true;
    return true;
}

bool CKRAVDoc::OnOpenDocument(const std::string& path, Prompt& prompt, UnknownCodes unknown) {
    LevelReadResult result; // reading gives every cell its value: no clearing first
    try {
        FileSource file(path);
        LevelReadOptions options;
        options.keepUnknown = unknown == UnknownCodes::Keep;
        result = ReadLevel(file, m_cells.get(), options);
    } catch (const UnknownCodesError& error) {
        std::fill_n(m_cells.get(), MAP_CELLS, EMPTY_CELL);
        const std::string where = UnknownRecordsMessage(path, error.records);
        if (unknown != UnknownCodes::Ask) {
            prompt.ShowMessage(where + "\n\n" + messages::KEEP_UNKNOWN_OPTION);
            return false;
        }
        if (!prompt.AskYesNo("KRAV", where + "\n\n" + messages::OPEN_KEEPING_UNKNOWN))
            return false;
        return OnOpenDocument(path, prompt, UnknownCodes::Keep);
    } catch (const ReadError& error) {
        std::fill_n(m_cells.get(), MAP_CELLS, EMPTY_CELL); // nothing of a failed read survives
        prompt.ShowMessage(error.what());
        return false;
    } catch (const std::bad_alloc&) {
        std::fill_n(m_cells.get(), MAP_CELLS, EMPTY_CELL);
        prompt.ShowMessage(messages::RECORDS_OUT_OF_MEMORY);
        return false;
    }
    m_pTileSet = std::move(result.tileSet);
    m_bDefaultTileSet = result.defaultTileSet;
    m_nInitialFlags = result.initialFlags;
    m_bObjectsSettled = result.objectsSettled;
    if (result.tooManyFlags)
        prompt.ShowMessage(messages::TOO_MANY_INITIAL_FLAGS);
    m_bModified = false;
    SetPathName(path);
    return true;
}

bool CKRAVDoc::OnSaveDocument(const std::string& path, Prompt& prompt) {
    SaveError error = SaveError::None;
    std::string reason;
    try {
        error = WriteFileAtomically(path, Serialize(), &reason);
    } catch (const std::bad_alloc&) {
        error = SaveError::Failed;
        reason = SystemReason(ENOMEM);
    }
    if (error != SaveError::None) {
        prompt.ShowMessage(WithReason(SaveErrorMessage(error, path), reason));
        return false;
    }
    m_bModified = false;
    SetPathName(path);
    return true;
}

void CKRAVDoc::OnCloseDocument() {
    m_pTileSet.reset();
}

void CKRAVDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    m_strTitle = path.substr(path.rfind('/') + 1);
}

} // namespace krav
