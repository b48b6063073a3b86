#pragma once

#include "document/CKRAVDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace krav::cli {

// Reads a level as the editor's Open does. When it cannot be read, standard error gets
// "krav-lvl: PATH: " and the reader's own words, and the result is false. The warnings the
// editor would show for a level it opens are left in warnings.
bool ReadLevelFile(CKRAVDoc& doc, const std::string& path, std::vector<std::string>& warnings);

// "krav-lvl: PATH: warning: TEXT" on standard error for each warning.
void PrintWarnings(const std::string& path, const std::vector<std::string>& warnings);

// The whole of a file, or nothing after "krav-lvl: PATH: WORDS (REASON)" on standard error.
std::optional<std::string> ReadWholeFile(const std::string& path, const std::string& words);

// What reading a level does with codes of no tile and no object: refuse it, or keep them
// (--keep-unknown). Set once, before any command runs.
void SetUnknownCodes(UnknownCodes unknown);
UnknownCodes LevelUnknownCodes();

} // namespace krav::cli
