// krav-lvl play SCRIPT LEVEL OUT: reads the whole script first, so a mistake in it changes
// nothing, then replays it on the level and writes OUT.
#include "Commands.h"
#include "LevelFiles.h"
#include "OutputFiles.h"
#include "PlayScript.h"
#include "PlaySession.h"

#include <iostream>
#include <optional>
#include <sstream>

namespace krav::cli {

int RunPlay(const Arguments& args) {
    const std::optional<std::string> text = ReadWholeFile(args[0], "cannot read the script");
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
