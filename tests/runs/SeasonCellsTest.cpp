// The cells of a season record under their symbols, as an in-memory run takes them:
// every cell of every record of the reviewed whole-run results, read by its label,
// is the value (or the "-") the cells give for that symbol. A fit compares these
// cells with observations, so a symbol that named another cell would fit the wrong
// quantity.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/InputFile.h"
#include "model/NumberText.h"
#include "results/ResultFile.h"
#include "results/TRunObserver.h"
#include "runs/MemoryRun.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

std::string Trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Per record, its cells as printed: (label, cell) in the record's order.
std::vector<std::vector<std::pair<std::string, std::string>>> PrintedRecords(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    std::vector<std::vector<std::pair<std::string, std::string>>> records;
    for (std::size_t i = 0; i + 14 < lines.size(); ++i) {
        if (lines[i].rfind("  Season:", 0) != 0)
            continue;
        std::vector<std::pair<std::string, std::string>> cells;
        for (std::size_t k = i + 2; k <= i + 14; ++k) {
            const std::string& l = lines[k];
            for (std::size_t at = 0, n = 0; at + 8 <= l.size(); ++n) {
                const std::size_t width = n == 0 ? 8 : 10;
                std::string label = Trim(l.substr(at, width));
                label = Trim(label.substr(0, label.size() - 1)); // without "="
                if (label == "Kr")
                    break; // the whole number, not a cell
                cells.emplace_back(label, Trim(l.substr(at + width, 10)));
                at += width + 10;
            }
        }
        records.push_back(cells);
    }
    return records;
}

class TCells final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        Records.push_back(SeasonRecordCells(rec, st, done));
    }
    std::vector<TSeasonCells> Records;
};

TEST(SeasonRecordCells, AreWhatTheReviewedResultFilesPrintUnderEachSymbol)
{
    int cases = 0;
    for (const fs::directory_entry& folder : fs::directory_iterator(VELTRA_REFERENCE_DIR)) {
        const std::string name = folder.path().filename().string();
        const fs::path input = folder.path() / (name + ".inp"), result = folder.path() / (name + ".res");
        if (!fs::exists(input) || !fs::exists(result) || name.rfind("bad_", 0) == 0)
            continue;
        TInputRecord rec;
        ReadNamedInputFile(input.string(), rec);
        if (rec.Ky == 1)
            continue; // a series reads later files
        TCells run;
        RunInMemory(rec, run);
        const auto printed = PrintedRecords(result.string());
        ASSERT_EQ(run.Records.size(), printed.size()) << name;
        for (std::size_t r = 0; r < printed.size(); ++r) {
            ASSERT_EQ(printed[r].size(), RecordSymbolCount - 1) << name; // all but Kr
            for (const auto& [label, text] : printed[r]) {
                const std::optional<TRecordSymbol> symbol = RecordSymbolNamed(label == "FfT" ? "EfT" : label);
                ASSERT_TRUE(symbol.has_value()) << name << ": " << label;
                const TRecordCell& cell = CellOf(run.Records[r], *symbol);
                EXPECT_EQ(cell.Shown ? Trim(NumberCell(cell.Value)) : std::string("-"), text)
                    << name << ", record " << r << ", " << label;
            }
        }
        ++cases;
    }
    EXPECT_GE(cases, 20);
}

} // namespace
} // namespace veltra
