// Season records and frequency rows in the cases the reference runs do not reach:
// netting, clipping and presence at their thresholds, the rotation keys 7 and 9. The
// records of whole runs, and the frequency points of areas on both sides of each
// class bound (50, 100, 100.5, 1000, 5000): the whole-run reference test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/FinishSeason.h"
#include "engine/WaterBalance.h"
#include "results/FrequencyFile.h"
#include "results/ResultFile.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

// One record written on its own, returned as lines.
std::vector<std::string> Record(TInputRecord& rec, TEngineState& st, std::string* frq = nullptr)
{
    std::string res, f;
    st.StepNr = 1;
    st.SeasonNr = 1;
    const TSeasonDone done = FinishSeason(rec, st);
    AppendSeasonRecord(res, rec, st, done, rec.Shell.FileName);
    AppendFrequencyTable(f, rec, st, done.Year, done.Season, rec.Shell.FileName);
    if (frq)
        *frq = f;
    return test::Lines(res);
}

TEST(ResultFile, NettingOfEqualAndUnequalFlowsClippingAndPresence)
{
    TInputRecord rec;
    rec.Ns = 1, rec.Area = 50, rec.Kd = 1;
    rec.Shell.FileName = "/data/a.b/x.frq";
    TEngineState st;
    st.Kr = 4, st.Ts[1] = 12;
    st.A[1] = 0.6, st.B[1] = 0.001, st.U[1] = 0.399; // B exactly at the threshold: absent
    st.IaA[1] = 0.9, st.IaB[1] = 0.5;
    st.Season.LrA = 0.3, st.Season.RrA = 0.1;
    st.Season.LrB = 0.7, st.Season.RrB = 0.2;
    st.Season.LrU = 0.1, st.Season.RrU = 0.1005;
    st.Season.Gd = 0.0009, st.Season.Ga = -0.2, st.Season.Gb = 0.5;
    st.Zs = 0.001, st.Gw[1] = 0.001, st.CrA = 0.0004;
    const std::vector<std::string> L = Record(rec, st);
    EXPECT_EQ(L[1], "  YEAR:    1   Name of input (data) file used:/data/a.b/x.INP");
    EXPECT_EQ(L[3], "  Season:  1   Duration: 12.0  months.");
    EXPECT_EQ(L[5], "  It  =  0.00E+000    Is  =  0.00E+000    IaA =  9.00E-001    IaB =      -    ");
    EXPECT_EQ(L[6], "  EfA =  0.00E+000    EfB =      -        FfT =  0.00E+000    Io  =  0.00E+000");
    EXPECT_EQ(L[8], "  LrA =  2.00E-001    LrB =      -        LrU =  0.00E+000    LrT =  1.20E-001");
    EXPECT_EQ(L[9], "  RrA =  0.00E+000    RrB =      -        RrU =  0.00E+000    RrT =  0.00E+000");
    EXPECT_EQ(L[10], "  Gd  =  0.00E+000    Ga  =  0.00E+000    Gb  =  5.00E-001");
    EXPECT_EQ(L[11], "  Gw  =  1.00E-003    Dw  =  0.00E+000    Zs  =      -    ");
    EXPECT_EQ(L[14], "  CrA =      -        CrB =      -        CrU =      -        Cr4 =  0.00E+000");
    EXPECT_EQ(L[17], "  Ci  =  0.00E+000    Cd  =  0.00E+000    Cw  =      -    ");
    EXPECT_EQ(L[18], " #");
    // The netting and clipping stay in the state for the later seasons.
    // RrU: 0.0005 left, below 0.001.
    EXPECT_EQ((std::vector<double>{st.Season.LrA, st.Season.RrA, st.Season.LrB, st.Season.RrU, st.Season.Gd,
                                   st.Season.Ga, st.CrA}),
              (std::vector<double>{0.3 - 0.1, 0, 0, 0, 0, 0, 0}));
    // Key 4 fills its slot even for a salinity of 0; the rest of the 8 lines are empty.
    EXPECT_EQ(std::vector<std::string>(L.begin() + 19, L.end()),
              (std::vector<std::string>{"Cumulative frequency distribution of Cr4",
                                        "  20%    0.00E+000  40%    0.00E+000  60%    0.00E+000  80%    0.00E+000", "",
                                        "", "", "", "", "", ""}));

    // Only non-irrigated land, no drains.
    st.A[1] = 0, st.B[1] = 0.0005, st.U[1] = 1;
    st.Season.EaU = 0.25, st.Cxf = 9, rec.Kd = 0;
    const std::vector<std::string> U = Record(rec, st);
    EXPECT_EQ(U[5], "  It  =      -        Is  =      -        IaA =      -        IaB =      -    ");
    EXPECT_EQ(U[6], "  EfA =      -        EfB =      -        EfT =      -        Io  =  0.00E+000");
    EXPECT_EQ(U[7], "  JsA =      -        JsB =      -        EaU =  2.50E-001");
    EXPECT_EQ(U[10], "  Gd  =      -        Ga  =      -        Gb  =      -    ");
    EXPECT_EQ(U[16], "  Cxf =  9.00E+000    Cxa =      -        Cxb =      -        Cqf =  0.00E+000");
    EXPECT_EQ(U[17], "  Ci  =      -        Cd  =      -        Cw  =      -    ");

    // Equal flows: the water balance keeps them, the record cancels them; a NaN stays
    // in the record. No reference case has equal flows.
    const double nan = std::nan("");
    struct TCase {
        double lr, rr;
        bool present;
        TEqualFlows equal;
        double lrNet, rrNet;
    } const cases[] = {
        {0.3, 0.3, true, TEqualFlows::Stay, 0.3, 0.3}, {0.3, 0.3, true, TEqualFlows::Cancel, 0, 0},
        {0.5, 0.2, true, TEqualFlows::Stay, 0.3, 0},   {0.2, 0.5, true, TEqualFlows::Cancel, 0, 0.3},
        {0.5, 0.2, false, TEqualFlows::Stay, 0, 0},    {1.0, nan, true, TEqualFlows::Cancel, nan, 0},
    };
    for (const TCase& c : cases) {
        double lr = c.lr, rr = c.rr;
        NetPercolationAndRise(lr, rr, c.present, c.equal);
        SCOPED_TRACE(testing::Message() << c.lr << " " << c.rr);
        EXPECT_THAT((std::vector<double>{lr, rr}),
                    ::testing::ElementsAre(::testing::NanSensitiveDoubleEq(c.lrNet), ::testing::DoubleEq(c.rrNet)));
    }
}

// Keys 7 and 9 do not occur in the reference cases.
TEST(ResultFile, RootZoneLinesSlotsAndFrequencyRowsPerKey)
{
    TInputRecord rec;
    rec.Ns = 1, rec.Area = 50, rec.Kd = 1;
    rec.Shell.FileName = "k.frq";
    TEngineState st;
    st.A[1] = 0.4, st.B[1] = 0.3, st.U[1] = 0.3, st.Ts[1] = 12;
    st.IaA[1] = st.IaB[1] = 1;
    struct TCase {
        int kr;
        double permanent; // Bc and Uc; Ac is 0
        std::vector<std::string> lines;
        std::vector<std::string> rows;
    };
    const TCase cases[] = {
        {7,
         0.3,
         {"  Uc  =  3.00E-001    Kr   =   7",
          "  CrA =      -        CrB =  2.00E+000    CrU =  3.00E+000    Cr4 =      -    ",
          "  C0* =      -        C1* =      -        C2* =      -        C3* =  4.00E+000"},
         {" CrB    ", " CrU    ", " C3*    "}},
        {9,
         0,
         {"  Uc  =      -        Kr   =   9",
          "  CrA =      -        CrB =      -        CrU =      -        Cr4 =      -    ",
          "  C0* =      -        C1* =      -        C2* =      -        C3* =      -    "},
         {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.kr);
        st.Kr = c.kr, st.Ac = 0, st.Bc = st.Uc = c.permanent;
        st.CrA = 1, st.CrB = 2, st.CrU = 3, st.C0 = 4;
        std::string frq;
        const std::vector<std::string> L = Record(rec, st, &frq);
        EXPECT_EQ(std::vector<std::string>(L.begin() + 13, L.begin() + 16), c.lines);
        std::vector<std::string> titles, rows;
        for (std::size_t i = 19; i < 27; i += 2)
            if (!L[i].empty())
                titles.push_back(std::string(" ").append(L[i], 37).append("    "));
        for (const std::string& f : test::Lines(frq))
            if (f.rfind("- ", 0) == 0 && f.size() > 10 && f[2] == ' ' && f.substr(2, 8) != " Salinit")
                rows.push_back(f.substr(2, 8));
        EXPECT_EQ(titles, c.rows);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(L.size(), 28u);
    }
}

} // namespace
} // namespace veltra
