#pragma once
// summary.csv: one row per case of a batch or sweep, in case order, for pandas, R
// or a spreadsheet. A header row, then
//   index, name, <one column per varied field>, status, exit_status, warnings, years,
//   Dw ... EfT (the last season of the last year), mean_Dw ... mean_EfT (the last
//   year's seasons weighted by their durations), message, plan, cases
// `plan` identifies the whole run (a hash of the inputs' contents and the grid,
// neither of paths nor of shards) and `cases` is its number of cases, so that shard
// summaries can be checked to belong together and to be complete.
// Numbers in full (17 significant digits, "."), an empty cell where a value does
// not apply, fields quoted only when they hold a comma, a quote or a line end; LF
// line ends. A shard writes its rows to summary-K-of-N.csv; joining the shards gives
// the file the whole run would have written, byte for byte.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runs/CaseRun.h"

namespace veltra {

struct TSummaryRow {
    std::size_t Index = 0;           // the case number, from 1
    std::string Name;                // the case's folder
    std::vector<std::string> Varied; // a sweep's values, as the case's input holds them
    TCaseOutcome Outcome;
    std::string Plan;      // the run's plan (TPlanHash)
    std::size_t Cases = 0; // the run's number of cases, every shard's together
};

// The plan of a run: a hash of what decides its cases (the inputs' texts, the grid),
// fed piece by piece; pieces are framed, so that "ab" + "c" differs from "a" + "bc".
class TPlanHash {
public:
    void Add(std::string_view piece);
    // 16 hexadecimal digits.
    std::string Text() const;

private:
    void Mix(std::string_view bytes);
    unsigned long long hash_ = 0xcbf29ce484222325ULL; // 64-bit FNV-1a
};

std::string SummaryHeader(const std::vector<std::string>& variedNames);
std::string SummaryLine(const TSummaryRow& row); // ends with LF

// A number in full: the shortest text of at most 17 significant digits that reads
// back as the same double ("." always).
std::string FullNumber(double v);

// A field of a CSV file, quoted when it holds a comma, a quote or a line end; and a
// line of them, ended by "\n".
std::string CsvField(const std::string& text);
std::string CsvLine(const std::vector<std::string>& fields);

// The fields of every record of a CSV text (quotes removed). Throws TVeltraError
// (File) naming `source` when a quote is not closed.
std::vector<std::vector<std::string>> ReadCsvRecords(const std::string& text, const std::string& source);

// The file name of shard K of N ("summary-K-of-N.csv"); "summary.csv" without shards.
std::string SummaryFileName(int shard, int shards);

// K and N of a shard summary's file name "summary-K-of-N.csv" (any number of digits,
// N >= 2, K < N); false for any other name.
bool ParseSummaryFileName(const std::string& name, int& shard, int& shards);

// The plan a summary text names in its first row ("" when it has none or is no summary).
std::string SummaryPlan(const std::string& text);

struct TShardText {
    std::string Source; // the file, for messages
    std::string Text;
};

// Shard summaries K -> text of one run of N shards joined into the text of one
// summary.csv, rows in case order. Refuses (TVeltraError, File) naming what is
// wrong: a file cut short, other columns, rows of different plans or case counts, a
// case in the wrong shard or twice, and every case of 1..count that no file holds.
std::string JoinShardTexts(const std::map<int, TShardText>& shards, int n, std::size_t* rowCount = nullptr);

// The shard summaries in `folder` joined as JoinShardTexts does; also refuses no shard
// summary, summaries of different shard counts and two files for one shard.
std::string JoinShardSummaries(const std::string& folder, int* shardCount = nullptr, std::size_t* rowCount = nullptr);

} // namespace veltra
