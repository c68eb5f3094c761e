#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

using test::ReadFile;

TInputRecord Parse(const std::string& text, TInputRecord rec = {})
{
    std::istringstream in(text);
    ReadInputStream(in, "test.inp", rec);
    return rec;
}

using test::Lines;

std::string Join(const std::vector<std::string>& lines)
{
    return test::Joined(lines);
}

// Every one of the reference input files reads and writes back byte for byte.
TEST(InputFile, ReferenceFilesRoundTripByteForByte)
{
    const fs::path dir = VELTRA_REFERENCE_DIR;
    ASSERT_TRUE(fs::is_directory(dir)) << "no case folder " << dir;
    int count = 0;
    for (const auto& c : fs::directory_iterator(dir)) {
        if (!c.is_directory())
            continue;
        for (const auto& f : fs::directory_iterator(c.path()))
            if (f.path().extension() == ".inp") {
                const std::string text = ReadFile(f.path());
                EXPECT_EQ(InputFileText(Parse(text)), text) << f.path();
                ++count;
            }
    }
    EXPECT_GE(count, 30);
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
    const std::string expected = Join({
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

// Writer -> reader -> writer for records of every season count, with and
// without drains, on both sides of each width switch. Values carry exactly
// the written decimals, so the record read back equals the one written.
TEST(InputFile, VariedRecordsRoundTrip)
{
    unsigned seed = 12345;
    auto next = [&](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    auto val = [&](int decimals, int range) {
        double scale = decimals == 0 ? 1 : decimals == 1 ? 10 : decimals == 2 ? 100 : decimals == 3 ? 1000 : 10000;
        return (next(range) - range / 4) / scale;
    };
    for (int ns = 1; ns <= 4; ++ns) {
        for (int kd = 0; kd <= 1; ++kd) {
            for (int variant = 0; variant < 3; ++variant) {
                TInputRecord r;
                r.Title1 = "ns " + std::to_string(ns);
                r.Title2 = "kd " + std::to_string(kd) + ", variant " + std::to_string(variant);
                r.Ns = static_cast<std::uint8_t>(ns);
                r.Kd = static_cast<std::uint8_t>(kd);
                r.Kp = static_cast<std::uint8_t>(next(2)), r.Kf = static_cast<std::uint8_t>(next(2));
                r.Kr = static_cast<std::uint8_t>(next(11)), r.Krf = static_cast<std::uint8_t>(next(2));
                r.Ny = static_cast<std::uint8_t>(1 + next(99)), r.Ky = static_cast<std::uint8_t>(next(2));
                r.Area = val(1, 100000000), r.CAmax = val(1, 400), r.CBmax = val(1, 400);
                for (int s = 1; s <= ns; ++s)
                    r.Ts[s] = val(1, 200);
                for (TSeasonal* a : {&r.A, &r.B, &r.FsA, &r.FsB, &r.FsU, &r.Frd})
                    for (int s = 1; s <= ns; ++s)
                        (*a)[s] = val(2, 400);
                for (TSeasonal* a : {&r.RcA, &r.RcB})
                    for (int s = 1; s <= ns; ++s)
                        (*a)[s] = val(0, 3);
                for (TSeasonal* a : {&r.Lc, &r.Io, &r.IaA, &r.IaB, &r.Pp, &r.EpA, &r.EpB, &r.EpU, &r.Gi, &r.Go, &r.SiU,
                                     &r.SoU, &r.SoA, &r.SoB, &r.Gw, &r.FAw, &r.FBw, &r.DAu, &r.DBu})
                    for (int s = 1; s <= ns; ++s)
                        (*a)[s] = val(3, variant == 2 ? 200000000 : 4000);
                r.Dr = val(2, 500), r.Ptr = val(2, 100), r.Dx = val(2, 2000), r.Ptx = val(2, 100);
                r.Dq = variant == 0 ? 9.99 : variant == 1 ? 10.0 : val(2, 100000);
                r.Ptq = val(2, 100);
                r.Per = val(3, 900), r.Flr = val(2, 200), r.Pex = val(3, 900), r.Flx = val(2, 200);
                r.Peq = val(3, 900), r.Flq = val(2, 200);
                auto tenOrMore = [&] { return (100 + next(3000)) / 10.0; };
                r.Cx0 = variant == 0 ? 9.9 : tenOrMore();
                r.Cq0 = variant == 1 ? 9.9 : tenOrMore();
                r.Ch = variant == 2 ? 9.9 : tenOrMore();
                r.Cic = val(1, 1000), r.Cp = val(1, 300);
                r.CA0 = val(1, 300), r.CB0 = val(1, 300), r.CU0 = val(1, 300), r.Dw0 = val(2, 3000), r.Dc = val(2, 400);
                r.Dd = val(2, 500), r.QH1 = val(4, 1000000), r.QH2 = val(4, 100000);
                r.CxA0 = val(1, 300), r.CxB0 = val(1, 300);
                if (kd == 0) { // not in the file
                    r.DAu = r.DBu = r.Frd = TSeasonal{};
                    r.Dd = r.QH1 = r.QH2 = r.CxA0 = r.CxB0 = 0;
                }
                const std::string text = InputFileText(r);
                const TInputRecord back = Parse(text);
                SCOPED_TRACE(r.Title1 + ", " + r.Title2);
                EXPECT_EQ(InputFileText(back), text);
                // Started from zeroed records, so whole arrays compare.
                for (auto f :
                     {&TInputRecord::Ts, &TInputRecord::B, &TInputRecord::RcB, &TInputRecord::EpU, &TInputRecord::FsU,
                      &TInputRecord::SoB, &TInputRecord::FBw, &TInputRecord::DBu, &TInputRecord::Frd})
                    EXPECT_EQ(back.*f, r.*f);
                EXPECT_EQ(std::tie(back.Area, back.QH2, back.CxB0), std::tie(r.Area, r.QH2, r.CxB0));
                EXPECT_EQ(back.Shell.LineCount, kd == 1 ? 48 : 42);
            }
        }
    }
}

TEST(InputFile, DrainFieldsAndLaterSeasonsKeepTheirValuesWhenTheFileLacksThem)
{
    const TInputRecord drains = FieldExampleRecord(); // Ns = 2, Kd = 1
    const TInputRecord wells = WellsExampleRecord();  // Ns = 4, Kd = 0
    const TInputRecord r = Parse(WellsExampleText(), drains);
    EXPECT_EQ(r.Kd, 0);
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
        const TInputRecord r = Parse(Join(l), before);
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
        const TInputRecord r = Parse(Join(l), pre);
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
        const TInputRecord r = Parse(Join(l), before);
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
        const TInputRecord r = Parse(Join(l), before);
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
        const TInputRecord r0 = Parse(Join(nd), before);
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
    const TInputRecord r = Parse(Join(l));
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
        return Join(l);
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
