#pragma once
// The one place where an error reaches the user of the command line: the kind
// chooses the stream and the exit status. Commands throw; main() reports.
//
//   Input    the input has errors         standard output  1
//   Usage    a command called wrongly     standard error   2
//   File     cannot open, read or write   standard error   2
//   Stopped  the model stopped the run    standard output  3
//   Internal a bug                        standard error   2, "veltra: internal error: "
#include <filesystem>
#include <iosfwd>
#include <string>

#include "model/TVeltraError.h"

namespace veltra::cli {

int ExitStatus(TErrorKind kind);

// Writes the message (and a line end) where the kind says and returns the exit
// status. `command` is the subcommand that ran ("" when none did): table and chart
// name themselves in front of their messages.
int ReportError(const TVeltraError& error, const std::string& command, std::ostream& out, std::ostream& err);

// A file or folder the system would not let a command use (the current folder
// removed, a path too long), as a file error whose message names it without the
// library's own wording.
TVeltraError FileSystemError(const std::filesystem::filesystem_error& error);

// What a command prints is part of its answer: standard output that could not be
// written (a full disk, /dev/full, a closed pipe) is a file error, exit 2.
extern const char* const StandardOutputLostMessage;
// Flushes `out` and throws TVeltraError (File) when it could not be written, so
// that a command can stop before it writes its files.
void FlushStandardOutput(std::ostream& out);

} // namespace veltra::cli
