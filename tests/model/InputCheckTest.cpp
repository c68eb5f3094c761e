#include <gtest/gtest.h>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "support/ScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

using test::ReadFile;

class ErrorListTest : public ::testing::Test {
protected:
    std::string ErrorList(const TInputRecord& r)
    {
        CheckInput(r, scratch_.Dir.string());
        return ReadFile(scratch_.Dir / "Error.lst");
    }
    test::TScratchFolder scratch_{"veltra-check"};
};

const std::string Heading = " THE FOLLOWING ERRORS WERE FOUND IN THE INPUT FILE:\r\n\r\n";

TEST_F(ErrorListTest, NoSeasonsGivesTheSeasonCountAndMonthsLines)
{
    TInputRecord r = FieldExampleRecord();
    r.Ns = 0;
    EXPECT_EQ(ErrorList(r), Heading + " Number of seasons NS must be 1, 2, 3 or 4.\r\n"
                                      " Total number of months must be 12.\r\n");
    EXPECT_EQ(ValidateBeforeSave(r), std::vector<std::string>{"The sum of season durations must be 12"});
    // Nine seasons: only the four stored ones are summed and examined.
    r = WellsExampleRecord();
    r.Ns = 9;
    EXPECT_EQ(InputErrorLines(r), std::vector<std::string>{" Number of seasons NS must be 1, 2, 3 or 4."});
}

// Nearly every rule at once, showing the order and the season-by-season
// interleaving of the rules that share a pass.
TEST_F(ErrorListTest, ManyRulesInTableOrder)
{
    TInputRecord r = FieldExampleRecord();
    r.Ns = 3;
    r.Kp = 1;
    r.Kf = 1;
    r.Ny = 0;
    r.Ts[1] = 6, r.Ts[2] = 5.7, r.Ts[3] = 0.4;
    r.A[1] = 1.2, r.A[2] = 0.4, r.A[3] = 0.6;
    r.B[1] = 0.3, r.B[2] = -0.1, r.B[3] = 0.4;
    r.RcA[1] = 0.5, r.RcB[1] = 3, r.RcB[2] = 2;
    r.Lc[2] = -0.1, r.Lc[3] = 0.1, r.Io[3] = 0.1;
    r.IaA[1] = -1, r.IaB[2] = -1, r.IaA[3] = 0.5, r.IaB[3] = 0.3;
    r.Pp[2] = -0.1, r.EpA[2] = -1, r.EpU[2] = 0, r.EpB[1] = -1;
    r.Pp[3] = 0.1, r.EpA[3] = 0.5, r.EpB[3] = 0.5, r.EpU[3] = 0.4;
    r.FsA[1] = 0, r.FsU[2] = 1.5, r.FsB[2] = 0, r.FsA[3] = 0.7, r.FsB[3] = 0.7, r.FsU[3] = 0;
    r.Gi[1] = -0.1, r.Go[2] = -0.2, r.Gi[3] = 0.05, r.Go[3] = 0.03;
    r.Gw[1] = -0.1, r.Gw[2] = 0.2, r.FAw[2] = -0.1, r.Gw[3] = 0.1, r.FAw[3] = 0.7, r.FBw[3] = 0.5;
    r.Dr = 0.05, r.Ptr = 0, r.Dq = 0.5, r.Ptq = 1.2, r.Flx = 0, r.Dw0 = 10, r.Dc = 0.05, r.Dd = 6;
    r.Frd[2] = 1.5, r.Frd[3] = 0, r.QH1 = -0.001, r.Ch = -1;
    EXPECT_EQ(ErrorList(r),
              Heading +
                  " Number of years Ny must be > 1 and < 100.\r\n"
                  " Total number of months must be 12.\r\n"
                  " Season durations must be > 0.5 month.\r\n"
                  " Irrigated area fraction A in season 1 must be between 0 and 1.\r\n"
                  " Sum of area fractions A+B in season 1 must not be greater than 1.\r\n"
                  " Irrigated area fraction B in season 2 must be between 0 and 1.\r\n"
                  " The rice crop index RcA in season 1 must be 0 or 1.\r\n"
                  " The rice crop index RcB in season 1 must be 0 or 1.\r\n"
                  " Irrigation data Lc and Io in season 2 must be > 0\r\n"
                  " Irrigation application IaA in season 1 must be > 0.\r\n"
                  " Potential evaporation EpB in season 1 must be > 0.\r\n"
                  " Rainfall in season 2 must be > 0.\r\n"
                  " Potential evaporation EpA in season 2 must be > 0.\r\n"
                  " Potential evaporation EpU in season 2 must be > 0.\r\n"
                  " Storage efficiency FsA in season  1 must be > 0 and < 1.\r\n"
                  " Storage efficiency FsU in season  2 must be > 0 and < 1.\r\n"
                  " Storage efficiency FsU in season  3 must be > 0 and < 1.\r\n"
                  " Incoming groundwater flow Gi in season 1 must be > 0.\r\n"
                  " Incoming groundwater flow Gi in season 2 must be > 0.\r\n"
                  " The pumping from wells must be >= 0.\r\n"
                  " The use fraction of well water in Area A must be >= 0.\r\n"
                  " The sum of the use fractions of well water in Areas A and B must be <= 1.\r\n"
                  " Rootzone thickness Dr must be greater than 0.1 m.\r\n"
                  " The porespace Ptr must be > 0 and < 1.\r\n"
                  " The porespace Ptq must be > 0 and < 1.\r\n"
                  " Aquifer thickness Dq and ground water flow Gi and/or Go in season 1 are not in proportion.\r\n"
                  " Aquifer thickness Dq and ground water flow Gi and/or Go in season 2 are not in proportion.\r\n"
                  " Aquifer thickness Dq and ground water flow Gi and/or Go in season 3 are not in proportion.\r\n"
                  " Drainable porosity Per must be < total pore space Ptr and > 0.\r\n"
                  " Leaching efficiencies Flr, Flt, and Flq must be > 0.\r\n"
                  " The watertable must be above bottom of aquifer.\r\n"
                  " Critical depth Dc must be > rootzone depth Dr.\r\n"
                  " Drains must be in the transition zone: Dr < Dd < Dr+Dx\r\n"
                  " The drainage control factor Frd in season 2 must be between 0 and 1.\r\n"
                  " The drainage reaction factors QH1 and QH2 must not be negative.\r\n"
                  " Salt concentrations must not be negative.\r\n");
    EXPECT_EQ(ValidateBeforeSave(r), std::vector<std::string>{"The sum of season durations must be 12"});
}

// The keys are examined last, one line for all five on-off keys and one for Kr.
TEST(InputCheck, KeysOutsideTheirValues)
{
    const std::string keys = " The keys Kd, Kp, Kf, Krf and Ky must be 0 or 1.";
    const std::string rotation = " The rotation key Kr must be 0 to 7 or 10.";
    for (std::uint8_t TInputRecord::*key :
         {&TInputRecord::Kd, &TInputRecord::Kp, &TInputRecord::Kf, &TInputRecord::Krf, &TInputRecord::Ky}) {
        for (std::uint8_t value : {2, 5, 7, 255}) {
            TInputRecord r = FieldExampleRecord();
            r.*key = value;
            EXPECT_EQ(InputErrorLines(r), std::vector<std::string>{keys}) << int(value);
        }
    }
    TInputRecord r = FieldExampleRecord();
    for (std::uint8_t kr : {0, 1, 2, 3, 4, 5, 6, 7, 10}) {
        r.Kr = kr;
        EXPECT_TRUE(InputErrorLines(r).empty()) << int(kr);
    }
    for (std::uint8_t kr : {8, 9, 11, 255}) {
        r.Kr = kr;
        EXPECT_EQ(InputErrorLines(r), std::vector<std::string>{rotation}) << int(kr);
    }
    // Several bad keys still give one line each, after every other rule.
    r = WellsExampleRecord();
    r.Kd = 5, r.Kf = 7, r.Ky = 2, r.Kr = 9, r.Cp = -1;
    EXPECT_EQ(InputErrorLines(r),
              (std::vector<std::string>{" Salt concentrations must not be negative.", keys, rotation}));
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
    r.Per = r.Ptr;
    r.Dd = r.Dr + r.Dx;
    EXPECT_TRUE(InputErrorLines(r).empty());
    EXPECT_EQ(ValidateBeforeSave(r),
              std::vector<std::string>{"The drains must be in the transition zone:  Dr < Dd < Dr + Dx"});
    r.Dd = 1.5;
    EXPECT_TRUE(ValidateBeforeSave(r).empty());
    r.Kf = 1; // farmers may create U land: its efficiency counts even where U = 0
    EXPECT_EQ(InputErrorLines(r),
              std::vector<std::string>{" Storage efficiency FsU in season  3 must be > 0 and < 1."});

    r = FieldExampleRecord();
    r.A[1] = 0.9, r.B[1] = 0.2, r.A[2] = -0.5, r.B[2] = 0.1;
    EXPECT_EQ(ValidateBeforeSave(r),
              (std::vector<std::string>{"The sum of areas A and B in season 1 must >= 0 and <= 1",
                                        "The sum of areas A and B in season 2 must >= 0 and <= 1"}));
    r.Ts[1] = 8;
    EXPECT_EQ(ValidateBeforeSave(r), std::vector<std::string>{"The sum of season durations must be 12"});
}

// An Error.lst that cannot be written is the file's fault, not the data's.
TEST(InputCheck, UnwritableErrorListIsAFileError)
{
    try {
        CheckInput(FieldExampleRecord(), "/nonexistent/veltra/folder");
        ADD_FAILURE() << "no error";
    } catch (const TVeltraError& e) {
        EXPECT_EQ(e.Kind, TErrorKind::File);
    }
}

} // namespace
} // namespace veltra
