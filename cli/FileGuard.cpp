#include "cli/FileGuard.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"

namespace veltra::cli {

namespace fs = std::filesystem;

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    // A link to a file not there yet (ln -s field.res field.frq before a run) is the
    // file it points to: that is what a writer of the link writes.
    try {
        return FollowedPath(a) == FollowedPath(b);
    } catch (const TVeltraError&) {}
    std::error_code ecA, ecB;
    const fs::path normalA = fs::weakly_canonical(fs::absolute(a, ecA), ecA);
    const fs::path normalB = fs::weakly_canonical(fs::absolute(b, ecB), ecB);
    return !ecA && !ecB && normalA == normalB;
}

void RefuseOutputsOverInputs(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs)
{
    for (std::size_t o = 0; o < outputs.size(); ++o) {
        if (outputs[o].empty())
            continue;
        for (const std::string& input : inputs)
            if (!input.empty() && SameFile(outputs[o], input))
                throw TVeltraError(TErrorKind::Usage, "The output file \"" + outputs[o] + "\" is the input file \"" +
                                                          input + "\"; nothing was written.");
        for (std::size_t later = o + 1; later < outputs.size(); ++later)
            if (!outputs[later].empty() && SameFile(outputs[o], outputs[later]))
                throw TVeltraError(TErrorKind::Usage, "\"" + outputs[o] + "\" and \"" + outputs[later] +
                                                          "\" are one file; nothing was written.");
    }
}

std::string ExistsUseForceMessage(const std::string& path)
{
    return "The file \"" + path + "\" already exists; use --force to overwrite it.";
}

bool NameFilesInTheWay(const std::vector<std::string>& paths)
{
    bool exists = false;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(path, ec))) {
            std::cerr << ExistsUseForceMessage(path) << "\n";
            exists = true;
        }
    }
    return exists;
}

} // namespace veltra::cli
