// summary.csv: its exact text, numbers that read back as the engine's doubles, fields
// that survive commas and quotes, and shard summaries joined into the whole file, byte
// for byte, or refused with the missing shards named.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/SummaryTable.h"
#include "support/TFaultyFileSystem.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

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
    row.Plan = "0123456789abcdef", row.Cases = 10;
    if (status == TCaseStatus::Ok || status == TCaseStatus::Stopped) {
        row.Outcome.Ran = true, row.Outcome.Years = 20, row.Outcome.Warnings = 2;
        for (std::size_t k = 0; k < SummaryValueCount; k += 2) {
            row.Outcome.Last[k] = 0.1 * static_cast<double>(index + k);
            row.Outcome.Means[k] = -1.0 / 3;
        }
    }
    if (status != TCaseStatus::Ok)
        row.Outcome.Message = "why, \"exactly\"";
    return row;
}

TEST(SummaryTable, ExactTextThatReadsBackExactly)
{
    EXPECT_EQ(SummaryHeader({"Dd", "IaA[2]"}),
              "index,name,Dd,IaA[2],status,exit_status,warnings,years,Dw,CrA,CrB,CrU,Cr4,Cxf,Cxa,Cxb,Cqf,Gd,EfT,"
              "mean_Dw,mean_CrA,mean_CrB,mean_CrU,mean_Cr4,mean_Cxf,mean_Cxa,mean_Cxb,mean_Cqf,mean_Gd,mean_EfT,"
              "message,plan,cases\n");
    EXPECT_EQ(SummaryLine(Row(3, TCaseStatus::Ok)),
              "3,case_3,3,0.5,ok,0,2,20,0.30000000000000004,,0.5,,0.7000000000000001,,0.9,,1.1,,1.3,"
              "-0.3333333333333333,,-0.3333333333333333,,-0.3333333333333333,,-0.3333333333333333,,"
              "-0.3333333333333333,,-0.3333333333333333,,0123456789abcdef,10\n");
    EXPECT_EQ(SummaryLine(Row(4, TCaseStatus::InputErrors)),
              "4,case_4,4,0.5,input errors,1,,,,,,,,,,,,,,,,,,,,,,,,,\"why, \"\"exactly\"\"\",0123456789abcdef,10\n");

    // Numbers and fields read back as they were written.
    for (double v : {0.1, 1.0 / 3, -2.5e-17, 1e300, 123456789.125, 0.0, std::nextafter(1.0, 2.0),
                     std::numeric_limits<double>::denorm_min()}) {
        const std::string text = FullNumber(v);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
        EXPECT_EQ(text.find(','), std::string::npos);
    }
    const std::string text = SummaryHeader({"Dd", "IaA"}) + SummaryLine(Row(1, TCaseStatus::Stopped));
    const auto records = ReadCsvRecords(text, "t.csv");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1][records[1].size() - 3], "why, \"exactly\"");
    EXPECT_EQ(SummaryPlan(text), "0123456789abcdef");
    EXPECT_EQ(SummaryPlan(SummaryHeader({})), "");
    EXPECT_EQ(ReadCsvRecords("a,\"b\nc\"\r\nd", "t.csv"),
              (std::vector<std::vector<std::string>>{{"a", "b\nc"}, {"d"}}));
    EXPECT_THROW(ReadCsvRecords("a,\"b", "t.csv"), TVeltraError);
}

class ShardJoin : public ::testing::Test {
protected:
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
    void Empty()
    {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    // Shard k of n as a sharded run writes it.
    void WriteShard(int k, int n) { WriteWholeFile((dir_ / SummaryFileName(k, n)).string(), Summary({k, n})); }

    test::TScratchFolder scratch_{"veltra-shards"};
    const fs::path& dir_ = scratch_.Dir;
};

// Shards written in any order join into the whole, also when there are more shards
// than cases (a fixed-size job array): a shard past case 10 holds only the header,
// and those not there hold no case.
TEST_F(ShardJoin, JoinedShardsAreTheWhole)
{
    for (int n : {2, 4, 12, 16, 1000000}) {
        Empty();
        WriteShard(n - 1, n);
        for (int k = std::min(n - 1, 10) - 1; k >= 0; --k)
            WriteShard(k, n);
        int shards = 0;
        std::size_t rows = 0;
        EXPECT_EQ(JoinShardSummaries(dir_.string(), &shards, &rows), Summary({0, 1})) << n;
        EXPECT_EQ(std::make_pair(shards, rows), std::make_pair(n, std::size_t{10}));
    }
    // Names of no shard summary.
    int k = 0, n = 0;
    for (const char* name : {"summary.csv", "summary-2-of-2.csv", "summary-0-of-1.csv", "summary--1-of-2.csv",
                             "summary-1-of-2.csv.bak", "summary-1-of-99999999999.csv", "summary-+1-of-2.csv"})
        EXPECT_FALSE(ParseSummaryFileName(name, k, n)) << name;
}

// Each row: shard summaries of a sharded run of ten cases in 2 shards as written,
// then one change, and a part of the refusal.
TEST_F(ShardJoin, RefusesWhatIsNotOneWholeRun)
{
    const std::string header = SummaryHeader({"Dd", "IaA"}), shard1 = Summary({1, 2});
    struct TCase {
        const char* Name;
        std::vector<std::pair<std::string, std::string>> Files; // written after shard 0 of 2
        const char* Refusal;
    };
    const std::string cutAtLineEnd = shard1.substr(0, shard1.rfind('\n', shard1.size() - 2) + 1);
    const std::vector<TCase> cases = {
        {"no shard summary", {{"summary-0-of-2.csv", ""}}, "No shard summaries"},
        {"a missing shard names its cases",
         {},
         "miss 5 of 10 cases: 2, 4, 6, 8, 10. Their shards: summary-1-of-2.csv (not there)"},
        {"a shard cut at a line end", {{"summary-1-of-2.csv", cutAtLineEnd}}, "miss 1 of 10 cases: 10. Their shards: "},
        {"a shard with its header only", {{"summary-1-of-2.csv", header}}, "miss 5 of 10 cases: 2, 4"},
        {"a shard cut inside a line", {{"summary-1-of-2.csv", shard1.substr(0, shard1.size() - 3)}}, "is cut short"},
        {"shards of two plans",
         {{"summary-1-of-2.csv", std::regex_replace(shard1, std::regex("0123456789abcdef"), "fedcba9876543210")}},
         "come from different runs"},
        {"two files for one shard",
         {{"summary-1-of-2.csv", shard1}, {"summary-01-of-2.csv", shard1}},
         "\"summary-01-of-2.csv\" and \"summary-1-of-2.csv\" in"},
        {"different shard counts",
         {{"summary-1-of-2.csv", shard1}, {"summary-0-of-4.csv", Summary({0, 4})}},
         "different shard counts (2, 4)"},
        {"other columns", {{"summary-1-of-2.csv", SummaryHeader({"Dd"})}}, "other columns"},
        {"a case in the wrong shard",
         {{"summary-1-of-2.csv", header + SummaryLine(Row(3, TCaseStatus::Ok))}},
         "belongs to shard 0"},
        {"a case twice",
         {{"summary-1-of-2.csv", shard1 + SummaryLine(Row(2, TCaseStatus::Ok))}},
         "Case 2 appears twice"},
        {"a case count that disagrees",
         {{"summary-1-of-2.csv", std::regex_replace(shard1, std::regex(",10\n"), ",12\n")}},
         "come from different runs"},
        {"a summary of an older version",
         {{"summary-0-of-2.csv", "index,name,status\n1,a,ok\n"}, {"summary-1-of-2.csv", "index,name,status\n"}},
         "no index, plan or cases column"},
    };
    for (const TCase& c : cases) {
        Empty();
        WriteShard(0, 2);
        for (const auto& [name, text] : c.Files)
            if (text.empty())
                fs::remove(dir_ / "summary-0-of-2.csv");
            else
                WriteWholeFile((dir_ / name).string(), text);
        const std::string refusal = test::FileRefusal([&] { JoinShardSummaries(dir_.string()); });
        EXPECT_NE(refusal.find(c.Refusal), std::string::npos) << c.Name << ": " << refusal;
    }
}

} // namespace
} // namespace veltra
