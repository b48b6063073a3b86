#pragma once

// Character devices for tests of writing to them. As root a fault that renames over a device
// would replace the system's own /dev/full for everyone, so root gets a node of its own made in
// the scratch folder; anyone else gets the system's, which they cannot replace. Empty when root
// cannot make one: a test then skips what needs it rather than risk the system's.
#include "support/LevelBytes.h"

#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace krav::test {

inline std::string Device(const ScratchFolder& folder, const std::string& name, unsigned minor) {
    const std::string system = "/dev/" + name;
    if (::geteuid() != 0)
        return system;
    const std::string own = folder.Path(name);
    return ::mknod(own.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0 ? own : std::string();
}

// Every write fails with "No space left on device".
inline std::string FullDevice(const ScratchFolder& folder) {
    return Device(folder, "full", 7);
}

// Every write succeeds and goes nowhere.
inline std::string NullDevice(const ScratchFolder& folder) {
    return Device(folder, "null", 3);
}

} // namespace krav::test
