#pragma once

// Runs krav-lvl and other programs as a shell script would, for the interop tests.
#include "support/CommandRun.h"
#include "support/LevelBytes.h"

#include <string>

namespace krav::test {

// Runs krav-lvl with the arguments (a shell command line tail).
Run Lvl(const std::string& arguments, const ScratchFolder& folder);

bool ProgramInstalled(const std::string& name);

void WriteText(const std::string& path, const std::string& text);

// The lines of the README's git setup that mention krav-lvl ("git config diff.krav...",
// "git config merge.krav...", the .gitattributes line), joined by " && ", with the krav-lvl
// under test in place of "krav-lvl".
std::string ReadmeGitSetup();

// A level file as our writer makes it, from cells (MAP_CELLS of them) and a tile set BMP.
Bytes LevelOf(const std::vector<std::uint32_t>& cells, const Bytes& tileSetBmp = {});

} // namespace krav::test
