#pragma once
// The one base of every error Veltra throws. The kind says who is at fault; each
// front (the command line, the window) turns the kind into its own answer in one
// place: an exit status, a message box.
#include <stdexcept>
#include <string>

namespace veltra {

enum class TErrorKind {
    Input,   // the input data are wrong or incomplete (the user mends the input)
    Usage,   // a command was called the wrong way
    File,    // a file cannot be opened, read or written
    Stopped, // the model stopped a run (aquifer bottom, iteration bound, value out of range)
    Internal // a broken promise inside the program
};

class TVeltraError : public std::runtime_error {
public:
    TVeltraError(TErrorKind kind, const std::string& message) : std::runtime_error(message), Kind(kind) {}
    TErrorKind Kind;
};

} // namespace veltra
