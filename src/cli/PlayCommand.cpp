// krav-lvl play SCRIPT LEVEL OUT: reads the whole script first, so a mistake in it changes
// nothing, then replays it on the level and writes OUT.
#include "Commands.h"
#include "PlayScript.h"
#include "PlaySession.h"

#include <fstream>
#include <iostream>

namespace krav::cli {

int RunPlay(const Arguments& args) {
    std::ifstream in(args[0]);
    if (!in) {
        std::cerr << "krav-lvl: cannot read the script " << args[0] << '\n';
        return EXIT_USAGE;
    }
    const PlayScript script = ParsePlayScript(in);
    if (!script.error.empty()) {
        std::cerr << args[0] << ':' << script.error << '\n';
        return EXIT_USAGE;
    }
    PlaySession session(args[1], args[2]);
    if (!session.Open())
        return EXIT_FAILED;
    for (const auto& step : script.steps)
        if (!session.Run(step))
            return EXIT_FAILED;
    std::cout << std::flush;
    return session.Finish() ? EXIT_OK : EXIT_FAILED;
}

} // namespace krav::cli
