#pragma once

#include <string>
#include <vector>

namespace krav::cli {

// Exit codes of krav-lvl.
inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FAILED = 1;
inline constexpr int EXIT_USAGE = 2;

using Arguments = std::vector<std::string>;

int RunInfo(const Arguments& args);
int RunCheck(const Arguments& args);
int RunResave(const Arguments& args);
int RunPlay(const Arguments& args);
int RunRender(const Arguments& args);
int RunExportTmx(const Arguments& args);
int RunImportTmx(const Arguments& args);
int RunDump(const Arguments& args);
int RunDiff(const Arguments& args);
int RunMerge(const Arguments& args);
int RunUndump(const Arguments& args);
int RunTileset(const Arguments& args);
int RunImportTileset(const Arguments& args);

} // namespace krav::cli
