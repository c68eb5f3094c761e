// veltra convert IN.inp OUT.inp: read any layout, write the current one.
#include <string>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"

namespace veltra::cli {

void AddConvertCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("convert", "Rewrite an input file of any layout in the current layout");
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    cmd->add_option("input", *in, "Input file to read (.inp), read as named")->required();
    cmd->add_option("output", *out, "Input file to write (may be the same file)")->required();
    cmd->callback([in, out, &status]() {
        TDataMod dm;
        const std::string path = AbsolutePath(*in);
        ReadNamedInputFile(path, dm.Rec); // the whole file is read before anything is written
        auto refuse = [&](const std::string& why) {
            throw TVeltraError(TErrorKind::Input, "The file \"" + path + "\" has " + why + " Nothing was written.");
        };
        // The file holds at most four seasons; any other count cannot be written faithfully.
        if (dm.Rec.Ns < 1 || dm.Rec.Ns > 4)
            refuse(std::to_string(dm.Rec.Ns) + " seasons; the number of seasons must be 1, 2, 3 or 4.");
        // The drain groups are written for Kd = 1 only: another value would lose them.
        if (dm.Rec.Kd > 1)
            refuse("Kd = " + std::to_string(dm.Rec.Kd) + "; the drainage key Kd must be 0 or 1.");
        WriteInputFile(dm.Rec, *out);
        status = 0;
    });
}

} // namespace veltra::cli
