// A case of a batch, run in its own folder for every whole-run case: its outcome is
// the single command's, and the summary it takes from the run in memory agrees with
// the result file the same run wrote, cell by cell (the cells hold 3 significant
// digits), present exactly where the file prints a number. The means of the last
// year agree with the durations-weighted means of the printed cells.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/InputFile.h"
#include "model/NumberText.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

std::vector<std::string> CaseNames()
{
    return test::FolderNames(VELTRA_REFERENCE_DIR);
}

std::string Trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// One season record of a result file: its year, duration and every cell by symbol.
struct TRecord {
    int Year = 0;
    double Months = 0;
    std::map<std::string, std::string> Cells; // "-" where absent
};

std::vector<TRecord> Records(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1));
    std::vector<TRecord> records;
    for (std::size_t i = 0; i + 17 < lines.size(); ++i) {
        if (lines[i].rfind("  YEAR: ", 0) != 0)
            continue;
        TRecord r;
        r.Year = std::atoi(lines[i].c_str() + 8);
        r.Months = std::atof(lines[i + 2].c_str() + lines[i + 2].find("Duration:") + 9);
        for (std::size_t k = i + 4; k < i + 17; ++k) {
            const std::string& line = lines[k];
            if (line.find("Kr   =") != std::string::npos)
                continue; // an integer item, not a cell
            for (std::size_t at = 0; at + 18 <= line.size();) {
                const std::size_t labelWidth = at == 0 ? 8 : 10;
                std::string symbol = Trim(line.substr(at, labelWidth));
                symbol = Trim(symbol.substr(0, symbol.size() - 1)); // without "="
                r.Cells[symbol == "FfT" ? "EfT" : symbol] = Trim(line.substr(at + labelWidth, 10));
                at += labelWidth + 10;
            }
        }
        records.push_back(std::move(r));
    }
    return records;
}

TCaseStatus ExpectedStatus(const fs::path& folder)
{
    if (fs::exists(folder / "Error.lst"))
        return TCaseStatus::InputErrors;
    if (ReadFile(folder / "warning.lst").find(" Calculations are interrupted.") != std::string::npos)
        return TCaseStatus::Stopped;
    return TCaseStatus::Ok;
}

class CaseSummary : public ::testing::TestWithParam<std::string> {
protected:
    CaseSummary() { scratch_.KeepAfterFailure = true; }
    test::TScratchFolder scratch_{"veltra-case"};
    const fs::path& dir_ = scratch_.Dir;
};

TEST_P(CaseSummary, AgreesWithTheResultFileOfTheSameRun)
{
    const fs::path reference = fs::path(VELTRA_REFERENCE_DIR) / GetParam();
    const fs::path first = reference / (GetParam() + ".inp");
    ASSERT_TRUE(fs::exists(first)) << first;
    TInputRecord rec;
    std::ifstream in(first, std::ios::binary);
    ReadInputStream(in, first.string(), rec);
    std::vector<std::string> files{first.string()};
    if (rec.Ky == 1) {
        const std::vector<std::string> years = SeriesYearFiles(first.string(), rec.Ny);
        files.insert(files.end(), years.begin(), years.end());
    }
    for (std::string& f : files) {
        fs::copy_file(f, dir_ / fs::path(f).filename());
        f = (dir_ / fs::path(f).filename()).string();
    }

    const TCaseOutcome outcome = RunCase(files, dir_.string());
    ASSERT_EQ(outcome.Status, ExpectedStatus(reference)) << outcome.Message;
    const std::string res = ReadFile(dir_ / (GetParam() + ".res"));
    if (outcome.Status == TCaseStatus::InputErrors) {
        EXPECT_FALSE(outcome.Ran);
        EXPECT_FALSE(outcome.Message.empty());
        EXPECT_EQ(ReadFile(dir_ / "Error.lst"), ReadFile(reference / "Error.lst"));
        EXPECT_TRUE(res.empty());
        return;
    }
    EXPECT_EQ(outcome.Message.empty(), outcome.Status == TCaseStatus::Ok) << outcome.Message;
    ASSERT_TRUE(outcome.Ran);
    // (tests/wholerun/BatchReferenceTest.cpp compares the files themselves with the reviewed ones.)

    std::vector<TRecord> records = Records(res);
    ASSERT_FALSE(records.empty());
    const int lastYear = records.back().Year;
    EXPECT_EQ(outcome.Years, lastYear);
    std::vector<TRecord> year;
    std::copy_if(records.begin(), records.end(), std::back_inserter(year),
                 [&](const TRecord& r) { return r.Year == lastYear; });

    int compared = 0;
    for (std::size_t k = 0; k < SummaryValueCount; ++k) {
        const std::string symbol(SummaryValueNames[k]);
        SCOPED_TRACE(symbol);
        ASSERT_EQ(year.back().Cells.count(symbol), 1u);
        const std::string& cell = year.back().Cells.at(symbol);
        ASSERT_EQ(outcome.Last[k].has_value(), cell != "-") << "cell " << cell;
        if (outcome.Last[k]) {
            EXPECT_EQ(Trim(NumberCell(*outcome.Last[k])), cell);
            ++compared;
        }
        // The mean over the seasons that print the value, weighted by their durations.
        double sum = 0, months = 0, size = 0;
        for (const TRecord& r : year)
            if (r.Cells.at(symbol) != "-") {
                const double v = std::atof(r.Cells.at(symbol).c_str());
                sum += r.Months * v;
                months += r.Months;
                size += r.Months * std::fabs(v);
            }
        ASSERT_EQ(outcome.Means[k].has_value(), months > 0);
        if (outcome.Means[k]) {
            EXPECT_NEAR(*outcome.Means[k], sum / months, 0.006 * size / months + 1e-12);
        }
    }
    EXPECT_GE(compared, 3); // Dw and Cqf always, a root-zone salinity nearly always

    // Warnings: the number of messages the run gave; none leaves only the heading.
    if (rec.Ky == 0) {
        const std::string warnings = ReadFile(dir_ / "warning.lst");
        EXPECT_EQ(outcome.Warnings > 0, warnings.find("\r\n") + 2 < warnings.size()) << warnings;
    }
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseSummary, ::testing::ValuesIn(CaseNames()), TestName);

TEST(CaseSummaryCases, AreFoundOnDisk)
{
    EXPECT_GE(CaseNames().size(), 20u) << VELTRA_REFERENCE_DIR;
}

} // namespace
} // namespace veltra
