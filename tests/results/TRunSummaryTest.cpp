// The values a run summary keeps for a season are the ones its result record prints,
// in every combination of rotation key, drains and present land types: a value is
// present exactly where the record has a number, and that number is the value's cell.
// The summary keeps the last year only, and weighs its means by the seasons' months.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/NumberText.h"
#include "results/ResultFile.h"
#include "results/TRunSummary.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

std::string Trim(const std::string& s)
{
    return s.substr(s.find_first_not_of(' '));
}

TEST(RunSummaryValues, PresentExactlyWhereTheRecordPrintsThem)
{
    TInputRecord rec;
    rec.Ns = 1, rec.Area = 100;
    TEngineState st;
    st.Ts[1] = 12;
    // Distinct values, so that a value printed under another symbol shows.
    st.Dw = 1.25, st.CrA = 3.5, st.CrB = 4.5, st.CrU = 5.5, st.C0 = 6.5;
    st.Cxf = 7.5, st.Cxa = 8.5, st.Cxb = 9.5, st.Cqf = 10.5, st.Season.Gd = 0.125, st.Season.Eft = 0.75;
    const TSeasonDone done{1, 1, 1, 0};
    int cases = 0, present = 0;
    for (int kr = 0; kr <= 11; ++kr)
        for (std::uint8_t kd : {0, 1})
            for (double fraction : {0.0, 0.001, 0.3, 1.0})
                for (int land = 0; land < 8; ++land) {
                    st.Kr = kr, rec.Kd = kd;
                    // The permanent fractions and the season's A and B land, present or not.
                    st.Ac = land & 1 ? fraction : 0.0;
                    st.Bc = land & 2 ? fraction : 0.0;
                    st.Uc = land & 4 ? fraction : 0.0;
                    st.A[1] = land & 1 ? fraction / 2 : 0.0;
                    st.B[1] = land & 2 ? fraction / 2 : 0.0;
                    st.U[1] = 1 - st.A[1] - st.B[1];
                    std::string record;
                    AppendSeasonRecord(record, rec, st, done, "/x/case.inp");
                    const auto cells = test::RecordCells(record).at(0);
                    const TSummaryValues values = SeasonSummaryValues(rec, st, 1);
                    for (std::size_t k = 0; k < SummaryValueCount; ++k) {
                        const std::string symbol(SummaryValueNames[k]);
                        ASSERT_EQ(cells.count(symbol), 1u) << symbol << "\n" << record;
                        const std::string& cell = cells.at(symbol);
                        ASSERT_EQ(values[k].has_value(), cell != "-")
                            << symbol << " Kr " << kr << " Kd " << int(kd) << " land " << land << " " << fraction;
                        if (values[k]) {
                            EXPECT_EQ(Trim(NumberCell(*values[k])), cell) << symbol << " Kr " << kr;
                            ++present;
                        }
                    }
                    ++cases;
                }
    EXPECT_GT(present, 3 * cases);
}

TEST(RunSummaryValues, LastYearAndItsMonthWeightedMeans)
{
    TInputRecord rec;
    rec.Ns = 3, rec.Kd = 0;
    TEngineState st;
    st.Kr = 4, st.Ts[1] = 2, st.Ts[2] = 4, st.Ts[3] = 6;
    TRunSummary summary;
    auto season = [&](int year, int s, double dw, bool irrigated) {
        st.Dw = dw;
        st.A[s] = irrigated ? 0.5 : 0.0;
        st.Season.Eft = 0.5 * s;
        summary.SeasonDone(TSeasonDone{year, s, 0, 0}, rec, st);
    };
    for (int s = 1; s <= 3; ++s)
        season(0, s, 100, true);
    for (int s = 1; s <= 3; ++s)
        season(1, s, 50, true);
    season(2, 1, 1.0, true);
    season(2, 2, 2.0, false);
    season(2, 3, 4.0, true);
    summary.Warning({"one", "message"});
    summary.Warning({"another"});

    EXPECT_EQ((std::vector<int>{summary.Years(), summary.Warnings()}), (std::vector<int>{2, 2}));
    const auto at = [](const TSummaryValues& v, TSummaryValue which) { return v[static_cast<std::size_t>(which)]; };
    EXPECT_EQ(at(summary.Last(), TSummaryValue::Dw), 4.0);
    EXPECT_EQ(at(summary.Means(), TSummaryValue::Dw), (2 * 1.0 + 4 * 2.0 + 6 * 4.0) / 12);
    // EfT only where A or B land is irrigated: seasons 1 and 3.
    EXPECT_EQ(at(summary.Means(), TSummaryValue::EfT), (2 * 0.5 + 6 * 1.5) / 8);
    EXPECT_FALSE(at(summary.Means(), TSummaryValue::Gd)); // no drains
    EXPECT_FALSE(at(summary.Last(), TSummaryValue::CrA)); // Kr = 4 prints Cr4
    EXPECT_TRUE(at(summary.Last(), TSummaryValue::Cr4));
}

} // namespace
} // namespace veltra
