// krav-lvl play SCRIPT LEVEL OUT: reads the whole script first, so a mistake in it changes
// nothing, then replays it on the level and writes OUT.
#include "Commands.h"
#include "OutputFiles.h"
#include "PlayScript.h"
#include "PlaySession.h"
#include "document/FileErrors.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <sys/stat.h>

namespace krav::cli {

namespace {

// The script's text, or nothing after saying why it cannot be read. A directory opens as a
// stream that merely reads nothing, which would pass for an empty script.
std::optional<std::string> ReadScript(const std::string& path) {
    struct stat info {};
    int error = ::stat(path.c_str(), &info) != 0 ? errno : 0;
    if (error == 0 && S_ISDIR(info.st_mode))
        error = EISDIR;
    std::ifstream in;
    if (error == 0) {
        in.open(path, std::ios::binary);
        error = in ? 0 : (errno != 0 ? errno : EIO);
    }
    std::ostringstream text;
    if (error == 0 && !(text << in.rdbuf()) && in.bad())
        error = errno != 0 ? errno : EIO;
    if (error != 0) {
        PrintFileError(path, "cannot read the script", SystemReason(error));
        return std::nullopt;
    }
    return text.str();
}

} // namespace

int RunPlay(const Arguments& args) {
    const std::optional<std::string> text = ReadScript(args[0]);
    if (!text)
        return EXIT_FAILED;
    if (!OutputsSpareInputs({args[0]}, {args[2]}, args[1]))
        return EXIT_FAILED;
    std::istringstream in(*text);
    const PlayScript script = ParsePlayScript(in);
    if (!script.error.empty()) {
        std::cerr << args[0] << ':' << script.error << '\n';
        return EXIT_USAGE;
    }
    PlaySession session(args[1], args[2], args[0]);
    if (!session.Open())
        return EXIT_FAILED;
    for (const auto& step : script.steps)
        if (!session.Run(step) || session.SaveFailed())
            return EXIT_FAILED;
    std::cout << std::flush;
    return session.Finish() ? EXIT_OK : EXIT_FAILED;
}

} // namespace krav::cli
