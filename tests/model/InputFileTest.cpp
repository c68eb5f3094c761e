#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::Joined, test::Lines, test::ReadFile;

TInputRecord Parse(const std::string& text, TInputRecord rec = {})
{
    std::istringstream in(text);
    ReadInputStream(in, "test.inp", rec);
    return rec;
}

// Every one of the reference input files reads and writes back byte for byte. (Inputs
// of every season count and key, on both sides of every width switch, from a writer of
// their own: the generated cases, which tests/generated/smoke.sh converts and compares.)
TEST(InputFile, ReferenceFilesRoundTripByteForByteAndTheExamplesPassTheChecks)
{
    const auto inputs = test::ReferenceInputFiles();
    for (const auto& f : inputs) {
        const std::string text = ReadFile(f);
        EXPECT_EQ(InputFileText(Parse(text)), text) << f;
    }
    EXPECT_GE(inputs.size(), 30u);
    // The example is the field case, and both examples pass the checks. (The bundled
    // files are the examples' texts: tests/cli/example.sh.)
    EXPECT_EQ(FieldExampleText(), ReadFile(fs::path(VELTRA_REFERENCE_DIR) / "field/field.inp"));
    for (const TInputRecord& r : {FieldExampleRecord(), WellsExampleRecord()}) {
        EXPECT_TRUE(InputErrorLines(r).empty()) << r.Title1;
        EXPECT_TRUE(ValidateBeforeSave(r).empty()) << r.Title1;
    }
}

// The drain fields and later seasons a file lacks keep their values; numbers may
// be written loosely; the older layouts read as the current one.
TEST(InputFile, ReadsLenientTokensAndOlderLayoutsKeepingWhatAFileLacks)
{
    const TInputRecord base = FieldExampleRecord();  // two seasons (Ns = 2), drains (Kd = 1)
    const TInputRecord wells = WellsExampleRecord(); // Ns = 4, Kd = 0
    const TInputRecord lacks = Parse(WellsExampleText(), base);
    EXPECT_EQ(lacks.Kd, 0);
    EXPECT_EQ(lacks.Shell.LineCount, 42); // no drain groups
    EXPECT_EQ(std::tie(lacks.Dd, lacks.QH1, lacks.QH2, lacks.CxA0, lacks.CxB0, lacks.DAu, lacks.DBu, lacks.Frd),
              std::tie(base.Dd, base.QH1, base.QH2, base.CxA0, base.CxB0, base.DAu, base.DBu, base.Frd));
    const TInputRecord two = Parse(FieldExampleText(), wells);
    EXPECT_EQ(two.Shell.LineCount, 48);
    EXPECT_EQ((std::vector<double>{two.Ts[3], two.Gw[4], two.Ts[2]}),
              (std::vector<double>{wells.Ts[3], wells.Gw[4], base.Ts[2]}));
    const std::vector<std::string> cur = Lines(InputFileText(base));
    TInputRecord before;
    before.Shell.SavedNy = 77, before.FAw[1] = 0.25, before.FBw[2] = 0.5;

    // A group 2 with Ky records Ny and Ky as saved; one without leaves them.
    TInputRecord yearly = base;
    yearly.Ny = 12, yearly.Ky = 1;
    const TInputRecord read = Parse(InputFileText(yearly), before);
    EXPECT_EQ((std::vector<int>{read.Shell.SavedNy, read.Shell.SavedKy}), (std::vector<int>{12, 1}));
    { // Lenient tokens.
        auto l = cur;
        l[7] = "\t7,0   5.0   trailing words are ignored";
        l[9] = "        0.50    0.30";
        l.insert(l.begin() + 10, "   0.40 0.20"); // values may continue on the next line
        const TInputRecord lenient = Parse(Joined(l));
        EXPECT_EQ((std::vector<double>{lenient.Ts[1], lenient.A[2], lenient.B[2]}),
                  (std::vector<double>{7.0, 0.4, 0.2}));
        EXPECT_EQ(InputFileText(lenient), Joined(cur));
    }
    { // No Ky: the group-2 probe is four spaces. (Its values: tests/cli/convert.sh.)
        auto l = cur;
        l[4] = "2.      Ny      Ns              CAmax   CBmax";
        l[5] = "        12      2        6.0     7.0";
        EXPECT_EQ(Parse(Joined(l), before).Shell.SavedNy, 77);
    }
    { // The four-key first line (no Kp).
        auto l = cur;
        l[3] = "       100.0    1       1       3       1";
        TInputRecord pre = before;
        pre.Kp = 1;
        const TInputRecord r = Parse(Joined(l), pre);
        TInputRecord e = base;
        e.Kf = 1, e.Kr = 3, e.Krf = 1; // and Kp = 0
        EXPECT_EQ(InputFileText(r), InputFileText(e));
        EXPECT_EQ(r.Shell.OldLine1Layout, 0);
        EXPECT_EQ(r.Shell.SavedNy, 10);
    }
    { // Old area-wise: Ns in group 1, a discarded value in group 2, evaporation
        // paired with the applications, one well-water fraction, no group 16.
        std::vector<std::string> l(cur.begin(), cur.begin() + 14);
        l[2] = "1.      Area    Ns      Kd      Kf      Kr      Krf";
        l[3] = "       100.0    2       1       0       4       0";
        l[4] = "2.      Ny      Ky      n.a.    CAmax   CBmax";
        l[5] = "        10      1       0.0      8.0     8.0";
        l.insert(l.end(),
                 {"7.      IaA1    EpA1    IaA2    EpA2", "  0.5 1.0 0.4 0.6", "8.      IaB1    EpB1    IaB2    EpB2",
                  "  0.3 0.8 0.2 0.5", "9.      Pp1     EpU1    Pp2     EpU2", "  0.2 0.6 0.05 0.4"});
        l.insert(l.end(), cur.begin() + 20, cur.begin() + 30);
        l.insert(l.end(), {"15.     Gw1     Fw1     Gw2     Fw2", "  0.0 0.3 0.1 0.6"});
        l.insert(l.end(), cur.begin() + 34, cur.end());
        const TInputRecord r = Parse(Joined(l), before);
        TInputRecord e = base;
        e.Ky = 1;
        e.Kp = 1; // some Gw > 0
        e.Gw[2] = 0.1;
        e.FAw[1] = e.FBw[1] = 0.3;
        e.FAw[2] = e.FBw[2] = 0.6;
        EXPECT_EQ(InputFileText(r), InputFileText(e));
        EXPECT_EQ(r.Shell.SavedNy, 77);
    }
    { // Climate-last, with drains: re-use and Frd in groups 21/23, then one
        // line of climate per season.
        std::vector<std::string> l(cur.begin(), cur.begin() + 16);
        l.insert(l.end(), cur.begin() + 20, cur.begin() + 32); // FsA/FsB .. Gw
        l[16] = "8.      FsA1    FsB1    FsA2    FsB2";
        l.insert(l.end(), cur.begin() + 34, cur.begin() + 44); // groups 17..21
        l.back() += " 0.07 0.02";                              // DAu per season
        l.insert(l.end(), {cur[46], cur[47], "skipped", "skipped"});
        l.insert(l.end(), {"season 1:   0.2 1.0 0.8 0.6", "season 2:   0.05 0.6 0.5 0.4"});
        const TInputRecord r = Parse(Joined(l), before);
        TInputRecord e = base;
        e.DAu[1] = e.DBu[1] = 0.07;
        e.DAu[2] = e.DBu[2] = 0.02;
        e.FAw = before.FAw; // not in that layout
        e.FBw = before.FBw;
        EXPECT_EQ(InputFileText(r), InputFileText(e));
        EXPECT_EQ(r.Shell.SavedNy, 10);

        // Without drains three lines follow group 20 before the climate lines.
        std::vector<std::string> nd(l.begin(), l.begin() + 36);
        nd[3] = "       100.0    0       0       0       4       0";
        nd.insert(nd.end(), {"x", "y", "z", "season 1:   0.2 1.0 0.8 0.6", "season 2:   0.05 0.6 0.5 0.4"});
        const TInputRecord r0 = Parse(Joined(nd), before);
        e.Kd = 0;
        EXPECT_EQ(InputFileText(r0), InputFileText(e));
        EXPECT_EQ(r0.Dd, before.Dd);
    }
}

TEST(InputFile, TheFileOfADataSetWhateverTheCaseOfItsExtension)
{
    test::TScratchFolder scratch{"veltra-extcase"};
    const auto at = [&](const std::string& name) { return (scratch.Dir / name).string(); };
    for (const char* name : {"A.inp", "B.Inp", "B.iNP", "C.inp", "C.INP", "d.INP"})
        test::WriteFile(scratch.Dir / name, "x");
    const std::pair<const char*, const char*> cases[] = {
        {"A.INP", "A.inp"}, // the other case
        {"B.INP", "B.Inp"}, // the lowest of several
        {"C.INP", "C.INP"}, // the name itself when there
        {"D.INP", "D.INP"}, // the name of the file only differs in case: not the same data set
        {"E.INP", "E.INP"}, // nothing there
        {"A.res", "A.res"}, // another extension
    };
    for (const auto& [asked, found] : cases)
        EXPECT_EQ(FileOfAnyExtensionCase(at(asked)), at(found)) << asked;
}

// Bad inputs are refused cleanly and leave the record as it was. (Letters in a number,
// a whole number above 255 and an overflow, with the line they name: tests/cli/badinput.sh.)
TEST(InputFile, BadInputsLeaveTheRecordUntouched)
{
    const TInputRecord keep = WellsExampleRecord();
    const std::string field = FieldExampleText();
    auto expectRefused = [&](const std::string& text, int line, const std::string& token) {
        TInputRecord r = keep;
        std::istringstream in(text);
        try {
            ReadInputStream(in, "bad.inp", r);
            ADD_FAILURE() << "accepted: " << text.substr(0, 200);
        } catch (const TInputFileError& e) {
            EXPECT_EQ(std::tie(e.CannotOpen, e.Line, e.Text), std::make_tuple(false, line, token)) << e.what();
            EXPECT_NE(std::string(e.what()).find("bad.inp"), std::string::npos);
            if (!token.empty()) {
                EXPECT_NE(std::string(e.what()).find("\"" + token + "\""), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(InputFileText(r), InputFileText(keep));
        EXPECT_EQ(r.Shell.LineCount, keep.Shell.LineCount);
    };
    auto replaced = [&](int lineIndex, const std::string& content) {
        auto l = Lines(field);
        l[static_cast<std::size_t>(lineIndex)] = content;
        return Joined(l);
    };
    expectRefused("", 1, "");
    expectRefused(field.substr(0, field.find("0.080", field.find("12."))), 26, ""); // cut off mid-line
    expectRefused(replaced(3, "       100.0    1       0       0       -1       0"), 4, "-1");
    expectRefused(replaced(3, "       100.0    1       0       0       1.5       0"), 4, "1.5");
    expectRefused(replaced(5, "        1e308      2       0        8.0     8.0"), 6, "1e308");
    expectRefused(replaced(7, "        nan     5.0"), 8, "nan");
    expectRefused(replaced(7, "        inf     5.0"), 8, "inf");
    expectRefused(replaced(7, "        0x1p3     5.0"), 8, "0x1p3");
}

} // namespace
} // namespace veltra
