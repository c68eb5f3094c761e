#pragma once
// The command line's guard over the user's files: no command writes over a file it
// reads, and none replaces a file it was not told to replace.
#include <string>
#include <vector>

namespace veltra::cli {

// True when the two paths name one file: the same file on disk (links followed,
// hard links included), or, when one is not there yet, the same path once made
// absolute and normal with its links followed (a link to a file not there yet
// included).
bool SameFile(const std::string& a, const std::string& b);

// Refuses (TVeltraError, Usage: exit 2), before anything is written, when one of
// `outputs` is one of `inputs` or two outputs are one file. Empty paths are skipped.
void RefuseOutputsOverInputs(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);

// The line that refuses to replace an existing file without --force.
std::string ExistsUseForceMessage(const std::string& path);

// Names on standard error, one ExistsUseForceMessage a line, every one of `paths`
// that exists (a dangling link too); true when there was one. A command refuses
// before it writes anything, naming all of them, not only the first.
bool NameFilesInTheWay(const std::vector<std::string>& paths);

} // namespace veltra::cli
