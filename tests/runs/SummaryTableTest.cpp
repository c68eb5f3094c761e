// summary.csv: its exact text, numbers that read back as the engine's doubles, fields
// that survive commas and quotes, and shard summaries joined into the whole file, byte
// for byte, or refused with the missing shards named.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/SummaryTable.h"
#include "support/TScratchFolder.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

TSummaryRow Row(std::size_t index, TCaseStatus status)
{
    TSummaryRow row;
    row.Index = index;
    row.Name = "case_" + std::to_string(index);
    row.Varied = {std::to_string(index), "0.5"};
    row.Outcome.Status = status;
    if (status == TCaseStatus::Ok || status == TCaseStatus::Stopped) {
        row.Outcome.Ran = true;
        row.Outcome.Years = 20;
        row.Outcome.Warnings = 2;
        for (std::size_t k = 0; k < SummaryValueCount; k += 2) {
            row.Outcome.Last[k] = 0.1 * static_cast<double>(index + k);
            row.Outcome.Means[k] = -1.0 / 3;
        }
    }
    if (status != TCaseStatus::Ok)
        row.Outcome.Message = "why, \"exactly\"";
    return row;
}

TEST(SummaryTable, ExactText)
{
    EXPECT_EQ(SummaryHeader({"Dd", "IaA[2]"}),
              "index,name,Dd,IaA[2],status,exit_status,warnings,years,Dw,CrA,CrB,CrU,Cr4,Cxf,Cxa,Cxb,Cqf,Gd,EfT,"
              "mean_Dw,mean_CrA,mean_CrB,mean_CrU,mean_Cr4,mean_Cxf,mean_Cxa,mean_Cxb,mean_Cqf,mean_Gd,mean_EfT,"
              "message\n");
    EXPECT_EQ(SummaryLine(Row(3, TCaseStatus::Ok)),
              "3,case_3,3,0.5,ok,0,2,20,0.30000000000000004,,0.5,,0.7000000000000001,,0.9,,1.1,,1.3,"
              "-0.3333333333333333,,-0.3333333333333333,,-0.3333333333333333,,-0.3333333333333333,,"
              "-0.3333333333333333,,-0.3333333333333333,\n");
    EXPECT_EQ(SummaryLine(Row(4, TCaseStatus::InputErrors)),
              "4,case_4,4,0.5,input errors,1,,,,,,,,,,,,,,,,,,,,,,,,,\"why, \"\"exactly\"\"\"\n");
    EXPECT_EQ(SummaryLine(Row(5, TCaseStatus::Stopped)).substr(0, 30), "5,case_5,5,0.5,stopped,3,2,20,");
    EXPECT_EQ(SummaryLine(Row(6, TCaseStatus::Failed)).substr(0, 26), "6,case_6,6,0.5,failed,2,,,");
}

TEST(SummaryTable, NumbersReadBackExactly)
{
    for (double v : {0.1, 1.0 / 3, -2.5e-17, 1e300, 123456789.125, 0.0, std::nextafter(1.0, 2.0),
                     std::numeric_limits<double>::denorm_min()}) {
        const std::string text = FullNumber(v);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
        EXPECT_EQ(text.find(','), std::string::npos);
    }
    EXPECT_EQ(FullNumber(20), "20");
    EXPECT_EQ(FullNumber(1.5), "1.5");
}

TEST(SummaryTable, CsvRecordsRoundTrip)
{
    const std::string text = SummaryHeader({"Dd", "IaA"}) + SummaryLine(Row(1, TCaseStatus::Stopped));
    const auto records = ReadCsvRecords(text, "t.csv");
    ASSERT_EQ(records.size(), 2u);
    ASSERT_EQ(records[0].size(), records[1].size());
    EXPECT_EQ(records[1].back(), "why, \"exactly\"");
    EXPECT_EQ(records[1][4], "stopped");
    EXPECT_EQ(ReadCsvRecords("a,\"b\nc\"\r\nd", "t.csv"),
              (std::vector<std::vector<std::string>>{{"a", "b\nc"}, {"d"}}));
    EXPECT_THROW(ReadCsvRecords("a,\"b", "t.csv"), TVeltraError);
}

class ShardJoin : public ::testing::Test {
protected:
    void SetUp() override { whole_ = Summary({0, 1}); }

    // The summary of the cases of ten, of every status, that `shard` holds.
    static std::string Summary(const TShard& shard)
    {
        const TCaseStatus statuses[] = {TCaseStatus::Ok, TCaseStatus::InputErrors, TCaseStatus::Stopped,
                                        TCaseStatus::Failed};
        std::string text = SummaryHeader({"Dd", "IaA"});
        for (std::size_t i = 1; i <= 10; ++i)
            if (shard.Holds(i))
                text += SummaryLine(Row(i, statuses[i % 4]));
        return text;
    }
    // Shard k of n as a sharded run writes it.
    void WriteShard(int k, int n) { WriteWholeFile((dir_ / SummaryFileName(k, n)).string(), Summary({k, n})); }

    std::string Refusal()
    {
        try {
            JoinShardSummaries(dir_.string());
        } catch (const TVeltraError& e) {
            EXPECT_EQ(e.Kind, TErrorKind::File);
            return e.what();
        }
        ADD_FAILURE() << "not refused";
        return {};
    }

    test::TScratchFolder scratch_{"veltra-shards"};
    const fs::path& dir_ = scratch_.Dir;
    std::string whole_;
};

TEST_F(ShardJoin, JoinedShardsAreTheWhole)
{
    for (int n : {2, 3, 4, 12}) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (int k = n - 1; k >= 0; --k)
            WriteShard(k, n);
        int shards = 0;
        std::size_t rows = 0;
        EXPECT_EQ(JoinShardSummaries(dir_.string(), &shards, &rows), whole_) << n;
        EXPECT_EQ(shards, n);
        EXPECT_EQ(rows, 10u);
    }
}

TEST_F(ShardJoin, RefusesWhatIsNotOneWholeRun)
{
    EXPECT_NE(Refusal().find("No shard summaries"), std::string::npos);
    WriteShard(0, 4);
    WriteShard(2, 4);
    const std::string missing = Refusal();
    EXPECT_NE(missing.find("summary-1-of-4.csv"), std::string::npos) << missing;
    EXPECT_NE(missing.find("summary-3-of-4.csv"), std::string::npos) << missing;
    EXPECT_EQ(missing.find("summary-0-of-4.csv"), std::string::npos) << missing;

    WriteShard(1, 4);
    WriteShard(3, 4);
    WriteShard(0, 2);
    EXPECT_NE(Refusal().find("different shard counts (2, 4)"), std::string::npos);
    fs::remove(dir_ / "summary-0-of-2.csv");

    WriteWholeFile((dir_ / "summary-3-of-4.csv").string(), SummaryHeader({"Dd"}));
    EXPECT_NE(Refusal().find("other columns"), std::string::npos);
    WriteWholeFile((dir_ / "summary-3-of-4.csv").string(),
                   SummaryHeader({"Dd", "IaA"}) + SummaryLine(Row(2, TCaseStatus::Ok)));
    EXPECT_NE(Refusal().find("belongs to shard 1"), std::string::npos);
}

} // namespace
} // namespace veltra
