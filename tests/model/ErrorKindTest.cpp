// Every error the input side throws is a TVeltraError whose kind says who is at
// fault; the command line turns the kind into its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include <unistd.h>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

// The kind of the TVeltraError the action throws; nothing when it throws none
// (any other exception fails the test by escaping).
std::optional<TErrorKind> KindThrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TVeltraError& e) {
        return e.Kind;
    }
    return std::nullopt;
}

TEST(ErrorKind, FilesThatCannotBeReadOrWrittenOrAreDamaged)
{
    const fs::path dir = fs::temp_directory_path() / ("veltra-kinds-" + std::to_string(::getpid()));
    fs::create_directories(dir);

    TInputRecord r = FieldExampleRecord();
    r.FileName = (dir / "missing.inp").string();
    EXPECT_EQ(KindThrown([&] { ReadInputFile(r); }), TErrorKind::File);

    // A damaged text is the file's fault, not the data's: the input check judges values.
    for (const std::string& text : {std::string(), std::string("title\r\n"),
                                    FieldExampleText().substr(0, 900)}) {
        TInputRecord damaged = FieldExampleRecord();
        std::istringstream in(text);
        EXPECT_EQ(KindThrown([&] { ReadInputStream(in, "damaged.inp", damaged); }), TErrorKind::File) << text;
    }

    EXPECT_EQ(KindThrown([&] { WriteInputFile(r, (dir / "no" / "such" / "x.inp").string()); }), TErrorKind::File);
    EXPECT_EQ(KindThrown([&] { CheckInput(r, (dir / "no" / "such").string()); }), TErrorKind::File);

    // The subclass keeps its fields for callers that show the line.
    try {
        std::istringstream in(FieldExampleText().substr(0, 900));
        ReadInputStream(in, "cut.inp", r);
        ADD_FAILURE() << "a cut file was read";
    } catch (const TInputFileError& e) {
        EXPECT_EQ(e.Kind, TErrorKind::File);
        EXPECT_FALSE(e.CannotOpen);
        EXPECT_GT(e.Line, 0);
    }

    // What reads and writes well throws nothing.
    EXPECT_EQ(KindThrown([&] { WriteInputFile(r, (dir / "ok.inp").string()); }), std::nullopt);
    EXPECT_EQ(KindThrown([&] { CheckInput(r, dir.string()); }), std::nullopt);
    fs::remove_all(dir);
}

} // namespace
} // namespace veltra
