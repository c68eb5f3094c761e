#include <gtest/gtest.h>

#include <functional>
#include <span>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

using test::ReadFile;

const std::string Heading = " THE FOLLOWING ERRORS WERE FOUND IN THE INPUT FILE:\r\n\r\n";

// A valid record in which each rule can be broken alone: four seasons of A, B and U
// land, wells and drains; Ptq above Ptx, so that a porosity between them tells the
// transition zone from the aquifer.
TInputRecord ValidRecord()
{
    TInputRecord r = WellsExampleRecord();
    r.Kd = 1;
    r.Dd = 2, r.QH1 = 0.003, r.QH2 = 0.001, r.CxA0 = 5, r.CxB0 = 5;
    r.Frd.Fill(0.5);
    r.Ptq = 0.5;
    return r;
}

using TEdit = std::function<void(TInputRecord&)>;

template <class T, class V>
TEdit Set(T TInputRecord::*field, V value)
{
    return [=](TInputRecord& r) { r.*field = static_cast<T>(value); };
}

// Season 3 of a seasonal field.
TEdit Set3(TSeasonal TInputRecord::*field, double value)
{
    return [=](TInputRecord& r) { (r.*field)[3] = value; };
}

TEdit All(const std::vector<TEdit>& edits)
{
    return [=](TInputRecord& r) {
        for (const TEdit& edit : edits)
            edit(r);
    };
}

// The rules that share a pass over the seasons write their lines season by season,
// between the rules before and after them. No seasons: the count and the months.
TEST(ErrorList, SharedPassesInterleaveSeasonBySeason)
{
    test::TScratchFolder scratch("veltra-check");
    const auto errorList = [&](const TInputRecord& r) {
        CheckInput(r, scratch.Dir.string());
        return ReadFile(scratch.Dir / "Error.lst");
    };
    TInputRecord none = FieldExampleRecord();
    none.Ns = 0;
    EXPECT_EQ(errorList(none), Heading + " Number of seasons NS must be 1, 2, 3 or 4.\r\n"
                                         " Total number of months must be 12.\r\n");
    EXPECT_EQ(ValidateBeforeSave(none), std::vector<std::string>{"The sum of season durations must be 12"});

    TInputRecord r = ValidRecord();
    r.Ny = 0, r.Dr = 0.05, r.Kr = 9;
    r.A[1] = 1.2, r.B[2] = -0.1;
    r.EpB[1] = -1, r.Pp[2] = -0.1, r.EpA[2] = -1;
    r.Go[1] = -0.1, r.Gi[2] = -0.1;
    r.FBw[1] = -0.1, r.Gw[2] = -0.1;
    r.Frd[2] = 1.5;
    EXPECT_EQ(errorList(r), Heading + " Number of years Ny must be > 1 and < 100.\r\n"
                                      " Irrigated area fraction A in season 1 must be between 0 and 1.\r\n"
                                      " Sum of area fractions A+B in season 1 must not be greater than 1.\r\n"
                                      " Irrigated area fraction B in season 2 must be between 0 and 1.\r\n"
                                      " Potential evaporation EpB in season 1 must be > 0.\r\n"
                                      " Rainfall in season 2 must be > 0.\r\n"
                                      " Potential evaporation EpA in season 2 must be > 0.\r\n"
                                      " Incoming groundwater flow Gi in season 1 must be > 0.\r\n"
                                      " Incoming groundwater flow Gi in season 2 must be > 0.\r\n"
                                      " The use fraction of well water in Area B must be >= 0.\r\n"
                                      " The pumping from wells must be >= 0.\r\n"
                                      " Rootzone thickness Dr must be greater than 0.1 m.\r\n"
                                      " The drainage control factor Frd in season 2 must be between 0 and 1.\r\n"
                                      " The rotation key Kr must be 0 to 7 or 10.\r\n");
}

// Every rule, in the order of the list, broken alone in every way its condition
// names: the rule writes exactly its line (season rules are broken in season 3).
TEST(InputCheck, EachRuleBrokenAloneWritesItsLine)
{
    using R = TInputRecord;
    struct TBreak {
        int Rule;
        std::string Line;
        std::vector<TEdit> Ways;
    };
    const TEdit noFlows = All({Set(&R::Gi, TSeasonal{}), Set(&R::Go, TSeasonal{})});
    const std::vector<TBreak> breaks{
        {1, " Number of seasons NS must be 1, 2, 3 or 4.", {Set(&R::Ns, 5), Set(&R::Ns, 255)}},
        {2, " Number of years Ny must be > 1 and < 100.", {Set(&R::Ny, 0), Set(&R::Ny, 100)}},
        {3, " Total number of months must be 12.", {Set3(&R::Ts, 3.5), Set3(&R::Ts, 2.9)}},
        {4, " Season durations must be > 0.5 month.", {[](R& r) { r.Ts[1] = 0.4, r.Ts[2] = 5.6; }}},
        {5, " Irrigated area fraction A in season 3 must be between 0 and 1.", {Set3(&R::A, -0.1)}},
        {6, " Irrigated area fraction B in season 3 must be between 0 and 1.", {Set3(&R::B, -0.1)}},
        {7,
         " Sum of area fractions A+B in season 3 must not be greater than 1.",
         {All({Set3(&R::A, 0.8), Set3(&R::B, 0.3)})}},
        {8, " The rice crop index RcA in season 3 must be 0 or 1.", {Set3(&R::RcA, 0.5)}},
        {9, " The rice crop index RcB in season 3 must be 0 or 1.", {Set3(&R::RcB, 2)}},
        {10, " Irrigation data Lc and Io in season 3 must be > 0", {Set3(&R::Lc, -0.1), Set3(&R::Io, -0.1)}},
        {11, " Irrigation application IaA in season 3 must be > 0.", {Set3(&R::IaA, -0.1)}},
        {12, " Irrigation application IaB in season 3 must be > 0.", {Set3(&R::IaB, -0.1)}},
        {13, " Rainfall in season 3 must be > 0.", {Set3(&R::Pp, -0.1)}},
        {14, " Potential evaporation EpA in season 3 must be > 0.", {Set3(&R::EpA, -0.1)}},
        {15, " Potential evaporation EpB in season 3 must be > 0.", {Set3(&R::EpB, -0.1)}},
        {16, " Potential evaporation EpU in season 3 must be > 0.", {Set3(&R::EpU, 0), Set3(&R::EpU, -0.1)}},
        {17, " Storage efficiency FsA in season  3 must be > 0 and < 1.", {Set3(&R::FsA, 0), Set3(&R::FsA, 1.5)}},
        {18, " Storage efficiency FsB in season  3 must be > 0 and < 1.", {Set3(&R::FsB, 0), Set3(&R::FsB, 1.5)}},
        {19, " Storage efficiency FsU in season  3 must be > 0 and < 1.", {Set3(&R::FsU, 0), Set3(&R::FsU, 1.5)}},
        {20,
         " Storage efficiency FsU in season  3 must be > 0 and < 1.",
         {All({Set3(&R::A, 0.7), Set3(&R::B, 0.3), Set(&R::Kf, 1), Set3(&R::FsU, 0)})}},
        {21, " Incoming groundwater flow Gi in season 3 must be > 0.", {Set3(&R::Gi, -0.1)}},
        {22, " Incoming groundwater flow Gi in season 3 must be > 0.", {Set3(&R::Go, -0.1)}},
        {23, " The pumping from wells must be >= 0.", {Set3(&R::Gw, -0.1)}},
        {24, " The use fraction of well water in Area A must be >= 0.", {Set3(&R::FAw, -0.1)}},
        {25, " The use fraction of well water in Area B must be >= 0.", {Set3(&R::FBw, -0.1)}},
        {26,
         " The sum of the use fractions of well water in Areas A and B must be <= 1.",
         {All({Set3(&R::FAw, 0.6), Set3(&R::FBw, 0.5)})}},
        {27, " Rootzone thickness Dr must be greater than 0.1 m.", {Set(&R::Dr, 0.05)}},
        {28, " The porespace Ptr must be > 0 and < 1.", {Set(&R::Ptr, 1.5)}},
        {29, " Transition zone thickness Dx must be > 0.1.", {All({Set(&R::Dx, 0.05), Set(&R::Dd, 1.02)})}},
        {30, " The porespace Ptx must be > 0 and < 1.", {Set(&R::Ptx, 1.5)}},
        {31, " Aquifer thickness Dq must be > 0.1.", {All({noFlows, Set(&R::Dq, 0.05)})}},
        {32, " The porespace Ptq must be > 0 and < 1.", {Set(&R::Ptq, 1.5)}},
        {33,
         " Aquifer thickness Dq and ground water flow Gi and/or Go in season 3 are not in proportion.",
         {All({noFlows, Set(&R::Dq, 0.5), Set3(&R::Gi, 0.05)}), All({noFlows, Set(&R::Dq, 0.5), Set3(&R::Go, 0.05)})}},
        {34, " Drainable porosity Per must be < total pore space Ptr and > 0.", {Set(&R::Per, 0.5), Set(&R::Per, 0)}},
        {35, " Drainable porosity Pex must be < total pore space Ptx and > 0.", {Set(&R::Pex, 0.45), Set(&R::Pex, 0)}},
        {36, " Drainable porosity Peq must be < total pore space Ptq and > 0.", {Set(&R::Peq, 0.55), Set(&R::Peq, 0)}},
        {37,
         " Leaching efficiencies Flr, Flt, and Flq must be > 0.",
         {Set(&R::Flr, 0), Set(&R::Flx, 0), Set(&R::Flq, 0)}},
        {38, " The watertable must be above bottom of aquifer.", {Set(&R::Dw0, 25)}},
        {39, " Critical depth Dc must be > rootzone depth Dr.", {Set(&R::Dc, 1.0), Set(&R::Dc, 0.5)}},
        {40, " Drains must be in the transition zone: Dr < Dd < Dr+Dx", {Set(&R::Dd, 1.0), Set(&R::Dd, 5.5)}},
        {41,
         " The drainage control factor Frd in season 3 must be between 0 and 1.",
         {Set3(&R::Frd, -0.1), Set3(&R::Frd, 1.1)}},
        {42,
         " The drainage reaction factors QH1 and QH2 must not be negative.",
         {Set(&R::QH1, -0.001), Set(&R::QH2, -0.001)}},
        {43,
         " Salt concentrations must not be negative.",
         {Set(&R::Cx0, -1), Set(&R::Cq0, -1), Set(&R::Cic, -1), Set(&R::Ch, -1), Set(&R::Cp, -1), Set(&R::CA0, -1),
          Set(&R::CB0, -1), Set(&R::CU0, -1), Set(&R::CxA0, -1), Set(&R::CxB0, -1)}},
        {44,
         " The keys Kd, Kp, Kf, Krf and Ky must be 0 or 1.",
         {Set(&R::Kd, 2), Set(&R::Kp, 5), Set(&R::Kf, 7), Set(&R::Krf, 255), Set(&R::Ky, 2)}},
        {45,
         " The rotation key Kr must be 0 to 7 or 10.",
         {Set(&R::Kr, 8), Set(&R::Kr, 9), Set(&R::Kr, 11), Set(&R::Kr, 255)}},
    };
    TInputRecord valid = ValidRecord();
    for (int kr : {0, 1, 2, 3, 4, 5, 6, 7, 10}) {
        valid.Kr = static_cast<std::uint8_t>(kr);
        EXPECT_TRUE(InputErrorLines(valid).empty()) << "Kr " << kr;
    }
    const std::span<const TInputRule> rules = InputRules();
    ASSERT_EQ(rules.size(), breaks.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const TBreak& b = breaks[i];
        ASSERT_EQ(rules[i].Number, b.Rule);
        for (std::size_t w = 0; w < b.Ways.size(); ++w) {
            TInputRecord r = ValidRecord();
            b.Ways[w](r);
            EXPECT_EQ(InputErrorLines(r), std::vector<std::string>{b.Line}) << "rule " << b.Rule << ", way " << w + 1;
        }
    }
}

TEST(InputCheck, BoundsAndTolerances)
{
    TInputRecord r = FieldExampleRecord();
    r.Ns = 3;
    r.Ny = 1;
    r.Ts[1] = 3.3, r.Ts[2] = 3.3, r.Ts[3] = 5.4;            // a floating-point sum a little off 12
    r.A[3] = 0.7, r.B[3] = 0.3, r.EpU[3] = 0, r.FsU[3] = 0; // A + B = 1: no U land to examine
    r.A[1] = 0.1, r.B[1] = 0.2;
    r.EpA[3] = r.EpB[3] = r.FsA[3] = r.FsB[3] = 1;
    r.FsA[1] = 1;
    r.Per = r.Ptr, r.Pex = r.Ptx, r.Peq = r.Ptq;
    EXPECT_TRUE(InputErrorLines(r).empty()); // (Dd = Dr + Dx: tests/cli/check.sh)
    EXPECT_TRUE(ValidateBeforeSave(r).empty());
    r.Kf = 1; // farmers may create U land: its efficiency counts even where U = 0
    EXPECT_EQ(InputErrorLines(r),
              std::vector<std::string>{" Storage efficiency FsU in season  3 must be > 0 and < 1."});

    r = FieldExampleRecord();
    r.A[1] = 0.9, r.B[1] = 0.2, r.A[2] = -0.5, r.B[2] = 0.1;
    EXPECT_EQ(ValidateBeforeSave(r),
              (std::vector<std::string>{"The sum of areas A and B in season 1 must >= 0 and <= 1",
                                        "The sum of areas A and B in season 2 must >= 0 and <= 1"}));
}

} // namespace
} // namespace veltra
