#pragma once

#include <cstdlib>

namespace zelk::fuzz {

// Stops the fuzzing run, so that the input is kept, when a property does not hold.
inline void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace zelk::fuzz
