// veltra convert IN.inp OUT.inp: read any layout, write the current one.
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "model/InputFile.h"

namespace veltra::cli {

void AddConvertCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("convert", "Rewrite an input file of any layout in the current layout");
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    cmd->add_option("input", *in, "Input file to read (.inp)")->required();
    cmd->add_option("output", *out, "Input file to write (may be the same file)")->required();
    cmd->callback([in, out, &status]() {
        TDataMod dm;
        dm.Rec.FileName = *in;
        try {
            ReadInputFile(dm.Rec); // the whole file is read before anything is written
        } catch (const TInputFileError& e) {
            std::cerr << e.what() << "\n";
            status = 2;
            return;
        }
        // The file holds at most four seasons; any other count cannot be written faithfully.
        if (dm.Rec.Ns < 1 || dm.Rec.Ns > 4) {
            std::cout << "The file \"" << dm.Rec.FileName << "\" has " << static_cast<int>(dm.Rec.Ns)
                      << " seasons; the number of seasons must be 1, 2, 3 or 4. Nothing was written.\n";
            status = 1;
            return;
        }
        try {
            WriteInputFile(dm.Rec, *out);
        } catch (const TInputFileError& e) {
            std::cerr << e.what() << "\n";
            status = 2;
            return;
        }
        status = 0;
    });
}

} // namespace veltra::cli
