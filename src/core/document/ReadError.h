#pragma once

#include <stdexcept>
#include <string>

namespace krav {

// A failure while reading a level or a tile set. what() is the text the user sees.
class ReadError : public std::runtime_error {
public:
    explicit ReadError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace krav
