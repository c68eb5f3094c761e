#include "cli/ErrorExit.h"

#include <ostream>

#include "runs/CaseRun.h"

namespace veltra::cli {

namespace {

// The commands that read result and group files have always put their name in
// front of what they refuse; the others show the reader's message as it is.
std::string Prefix(const std::string& command)
{
    return command == "table" || command == "chart" ? "veltra " + command + ": " : std::string();
}

} // namespace

const char* const StandardOutputLostMessage = "The standard output could not be written.";

void FlushStandardOutput(std::ostream& out)
{
    if (!out.flush())
        throw TVeltraError(TErrorKind::File, StandardOutputLostMessage);
}

TVeltraError FileSystemError(const std::filesystem::filesystem_error& error)
{
    std::string message;
    if (error.path1().empty())
        message = "The current folder or a file could not be used: ";
    else
        message.append(1, '"').append(error.path1().string()).append("\" could not be used: ");
    message.append(error.code().message()).append(".");
    return TVeltraError(TErrorKind::File, message);
}

int ExitStatus(TErrorKind kind)
{
    return CaseExitStatus(CaseStatusOf(kind));
}

int ReportError(const TVeltraError& error, const std::string& command, std::ostream& out, std::ostream& err)
{
    switch (error.Kind) {
    case TErrorKind::Input:
    case TErrorKind::Stopped: out << error.what() << "\n"; break;
    case TErrorKind::Usage:
    case TErrorKind::File: err << Prefix(command) << error.what() << "\n"; break;
    case TErrorKind::Internal: err << "veltra: internal error: " << error.what() << "\n"; break;
    }
    return ExitStatus(error.Kind);
}

} // namespace veltra::cli
