#pragma once

#include <stdexcept>
#include <string>

namespace zelk {

// Base of the errors the core raises; the message is meant for the user.
class ZelkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not convert (a date, a clock time, a number) or a date
// that does not exist.
class ConversionError : public ZelkError {
public:
    using ZelkError::ZelkError;
};

// A dataset operation that is refused, such as a duplicate key.
class DatasetError : public ZelkError {
public:
    using ZelkError::ZelkError;
};

}  // namespace zelk
