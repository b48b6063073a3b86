#pragma once

#include <string>

namespace krav {

// The message shown when reading a level fails with the given errno.
std::string FileErrorMessage(int error);

} // namespace krav
