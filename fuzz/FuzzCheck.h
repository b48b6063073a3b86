#pragma once

// What the harnesses share: a failed check names itself and aborts, which libFuzzer reports as
// a crash with the input that caused it.
#include <cstdio>
#include <cstdlib>

namespace krav::fuzz {

[[noreturn]] inline void Fail(const char* target, const char* what) {
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

} // namespace krav::fuzz
