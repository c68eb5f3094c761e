#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

TInputRecord Parse(const std::string& text, TInputRecord rec = {})
{
    std::istringstream in(text);
    ReadInputStream(in, "test.inp", rec);
    return rec;
}

using test::Joined;
using test::Lines;

// Every one of the reference input files reads and writes back byte for byte. (Inputs
// of every season count, key and width switch, from a writer of their own: the
// generated cases, tests/generated/smoke.sh.)
TEST(InputFile, ReferenceFilesRoundTripByteForByte)
{
    const auto inputs = test::ReferenceInputFiles();
    for (const auto& f : inputs) {
        const std::string text = ReadFile(f);
        EXPECT_EQ(InputFileText(Parse(text)), text) << f;
    }
    EXPECT_GE(inputs.size(), 30u);
}

TEST(InputFile, BundledExamplesAreTheWritersTextAndPassTheChecks)
{
    const fs::path src = VELTRA_SOURCE_DIR;
    EXPECT_EQ(FieldExampleText(), ReadFile(src / "examples/field.inp"));
    EXPECT_EQ(WellsExampleText(), ReadFile(src / "examples/wells.inp"));
    const fs::path ref = fs::path(VELTRA_REFERENCE_DIR) / "field/field.inp";
    ASSERT_TRUE(fs::exists(ref)) << ref;
    EXPECT_EQ(FieldExampleText(), ReadFile(ref));
    for (const TInputRecord& r : {FieldExampleRecord(), WellsExampleRecord()}) {
        EXPECT_TRUE(InputErrorLines(r).empty()) << r.Title1;
        EXPECT_TRUE(ValidateBeforeSave(r).empty()) << r.Title1;
    }
}

// One seasons' worth of every format switch: wide Area (a blank before a value
// that fills its field), Dq >= 10, Cx0/Cq0/Ch >= 10, the 7:3 pair of Ns = 1,
// a negative QH2.
TEST(InputFile, WriterTextWithEveryFormatSwitch)
{
    TInputRecord r = FieldExampleRecord();
    r.Title1 = "T1";
    r.Title2 = "T2";
    r.Area = 123456.0;
    r.Kp = r.Kf = r.Krf = 1;
    r.Kr = 10;
    r.Ny = 99;
    r.Ns = 1;
    r.Ky = 1;
    r.CAmax = 12.5;
    r.CBmax = 0;
    r.Ts[1] = 12;
    r.A[1] = 0.55, r.B[1] = 0.45, r.RcA[1] = 1, r.RcB[1] = 0, r.Lc[1] = 0.1, r.Io[1] = 0;
    r.IaA[1] = 1.5, r.IaB[1] = 1234.5678, r.Pp[1] = 0.2, r.EpA[1] = 1, r.EpB[1] = 0.9, r.EpU[1] = 0.6;
    r.FsA[1] = 1, r.FsB[1] = 0.65, r.FsU[1] = 0.8, r.Gi[1] = 0, r.Go[1] = 0.01, r.SiU[1] = 0, r.SoU[1] = 0;
    r.SoA[1] = 0.05, r.SoB[1] = -0.02, r.Gw[1] = 0.3, r.FAw[1] = 0.6, r.FBw[1] = 0.4;
    r.Dr = 1, r.Ptr = 0.4, r.Dx = 3, r.Ptx = 0.45, r.Dq = 10, r.Ptq = 0.5;
    r.Cx0 = 10, r.Cq0 = 15, r.Cic = 2, r.Ch = 10, r.Cp = 0.5;
    r.CA0 = 5, r.CB0 = 6, r.CU0 = 7, r.Dw0 = 1.2, r.Dc = 1.5;
    r.Dd = 2, r.QH1 = 0.0125, r.QH2 = -0.0001, r.DAu[1] = 0.024, r.DBu[1] = 0.04, r.CxA0 = 8, r.CxB0 = 12;
    r.Frd[1] = 0.25;
    const std::string expected = Joined({
        "T1",
        "T2",
        "1.      Area    Kd      Kp      Kf      Kr      Krf",
        "     123456.0    1       1       1       10       1",
        "2.      Ny      Ns      Ky      CAmax   CBmax",
        "        99      1       1       12.5     0.0",
        "3.      Ts1  ",
        "       12.0",
        "4.      A1      B1   ",
        "        0.55    0.45",
        "5.      RcA1    RcB1 ",
        "        1       0",
        "6.      Lc1     Io1  ",
        "        0.100   0.000",
        "7.      IaA1    IaB1 ",
        "        1.500 1234.568",
        "8       Pp1     EpA1",
        "        0.200   1.000",
        "9       EPB1    EpU1",
        "        0.900   0.600",
        "10.     FsA1    FsB1 ",
        "        1.00    0.65",
        "11.     FsU1 ",
        "        0.80",
        "12.     Gi1     Go1  ",
        "        0.000   0.010",
        "13.     SiU1    SoU1 ",
        "        0.000   0.000",
        "14.     SoA1    SoB1 ",
        "        0.050  -0.020",
        "15.     Gw1  ",
        "        0.300",
        "16.     FAw1    FBw1 ",
        "        0.600   0.400",
        "17.     Dr      Ptr     Dx      Ptx     Dq      Ptq",
        "        1.00    0.40    3.00    0.45    10.00   0.50",
        "18.     Per     Flr     Pex     Flx     Peq     Flq",
        "        0.050   0.80    0.060   0.90    0.070   1.00",
        "19.     Cx0     Cq0     Cic     Ch      Cp",
        "        10.0    15.0    2.0     10.0    0.5",
        "20.     CA0     CB0     CU0     Dw0     Dc",
        "        5.0     6.0     7.0     1.20    1.50",
        "21.     Dd      QH1     QH2  ",
        "        2.00    0.0125 -0.0001",
        "22.     DAu1    DBu1 ",
        "       0.024  0.040",
        "23.     CxA0    CxB0    Frd1   ",
        "        8.0    12.0     0.25",
    });
    EXPECT_EQ(InputFileText(r), expected);
    TInputRecord back = Parse(expected);
    EXPECT_EQ(InputFileText(back), expected);
    EXPECT_EQ(back.IaB[1], 1234.568);
    EXPECT_EQ((std::vector<int>{back.Shell.LineCount, back.Shell.SavedNy, back.Shell.SavedKy}),
              (std::vector<int>{48, 99, 1}));
}

TEST(InputFile, DrainFieldsAndLaterSeasonsKeepTheirValuesWhenTheFileLacksThem)
{
    const TInputRecord drains = FieldExampleRecord(); // Ns = 2, Kd = 1
    const TInputRecord wells = WellsExampleRecord();  // Ns = 4, Kd = 0
    const TInputRecord r = Parse(WellsExampleText(), drains);
    EXPECT_EQ(r.Kd, 0);
    EXPECT_EQ(r.Shell.LineCount, 42); // no drain groups
    for (auto f : {&TInputRecord::Dd, &TInputRecord::QH1, &TInputRecord::QH2, &TInputRecord::CxA0, &TInputRecord::CxB0})
        EXPECT_EQ(r.*f, drains.*f);
    for (auto f : {&TInputRecord::DAu, &TInputRecord::DBu, &TInputRecord::Frd})
        EXPECT_EQ(r.*f, drains.*f);
    const TInputRecord two = Parse(FieldExampleText(), wells);
    EXPECT_EQ(two.Ts[3], wells.Ts[3]);
    EXPECT_EQ(two.Gw[4], wells.Gw[4]);
    EXPECT_EQ(two.Ts[2], drains.Ts[2]);
}

TEST(InputFile, ReadsTheOlderLayouts)
{
    const TInputRecord base = FieldExampleRecord(); // two seasons, drains
    const std::vector<std::string> cur = Lines(InputFileText(base));
    TInputRecord before;
    before.Shell.SavedNy = 77;
    before.FAw[1] = 0.25;
    before.FBw[2] = 0.5;

    { // No Ky: the group-2 probe is four spaces.
        auto l = cur;
        l[4] = "2.      Ny      Ns              CAmax   CBmax";
        l[5] = "        12      2        6.0     7.0";
        const TInputRecord r = Parse(Joined(l), before);
        TInputRecord e = base;
        e.Ny = 12, e.CAmax = 6, e.CBmax = 7;
        EXPECT_EQ(InputFileText(r), InputFileText(e));
        EXPECT_EQ(r.Shell.SavedNy, 77); // only the current layout records Ny
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

TEST(InputFile, LenientTokens)
{
    std::string text = FieldExampleText();
    auto l = Lines(text);
    l[7] = "\t7,0   5.0   trailing words are ignored";
    l[9] = "        0.50    0.30";
    l.insert(l.begin() + 10, "   0.40 0.20"); // values may continue on the next line
    const TInputRecord r = Parse(Joined(l));
    EXPECT_EQ((std::vector<double>{r.Ts[1], r.A[2], r.B[2]}), (std::vector<double>{7.0, 0.4, 0.2}));
    EXPECT_EQ(InputFileText(r), text);
}

// Bad inputs are refused cleanly and leave the record as it was.
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
            EXPECT_FALSE(e.CannotOpen);
            EXPECT_EQ(e.Line, line) << e.what();
            EXPECT_EQ(e.Text, token) << e.what();
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
    expectRefused(replaced(13, "        0.1o0   0.100   0.100   0.100"), 14, "0.1o0");
    expectRefused(replaced(3, "       100.0    1       0       0       256       0"), 4, "256");
    expectRefused(replaced(3, "       100.0    1       0       0       -1       0"), 4, "-1");
    expectRefused(replaced(3, "       100.0    1       0       0       1.5       0"), 4, "1.5");
    expectRefused(replaced(5, "        1e308      2       0        8.0     8.0"), 6, "1e308");
    expectRefused(replaced(7, "        1e309     5.0"), 8, "1e309");
    expectRefused(replaced(7, "        nan     5.0"), 8, "nan");
    expectRefused(replaced(7, "        inf     5.0"), 8, "inf");
    expectRefused(replaced(7, "        0x1p3     5.0"), 8, "0x1p3");
}

} // namespace
} // namespace veltra
