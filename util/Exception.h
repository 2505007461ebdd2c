#pragma once
#include <stdexcept>
#include <string>

// Base of every named error of the program: carries the message text that the
// user sees in an error box, word for word.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

// Declares a named error class derived from Exception.
#define QUILLON_DECLARE_ERROR(Name)                                            \
    class Name : public Exception {                                            \
    public:                                                                    \
        using Exception::Exception;                                            \
    }

// A file could not be opened, created, read or written.
QUILLON_DECLARE_ERROR(EFileError);
// A write the platform refused ("Unable to write to %s").
QUILLON_DECLARE_ERROR(EWriteError);
