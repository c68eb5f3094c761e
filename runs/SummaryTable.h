#pragma once
// summary.csv: one row per case of a batch or sweep, in case order, for pandas, R
// or a spreadsheet. A header row, then
//   index, name, <one column per varied field>, status, exit_status, warnings, years,
//   Dw ... EfT (the last season of the last year), mean_Dw ... mean_EfT (the last
//   year's seasons weighted by their durations), message
// Numbers in full (17 significant digits, "."), an empty cell where a value does
// not apply, fields quoted only when they hold a comma, a quote or a line end; LF
// line ends. A shard writes its rows to summary-K-of-N.csv; joining the shards gives
// the file the whole run would have written, byte for byte.
#include <cstddef>
#include <string>
#include <vector>

#include "runs/CaseRun.h"

namespace veltra {

struct TSummaryRow {
    std::size_t Index = 0;           // the case number, from 1
    std::string Name;                // the case's folder
    std::vector<std::string> Varied; // a sweep's values, as the case's input holds them
    TCaseOutcome Outcome;
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

// The shard summaries in `folder` joined into the text of one summary.csv, rows in
// case order. Refuses (TVeltraError, File) naming what is wrong: no shard summary,
// summaries of different shard counts, missing shards, different headers, a case
// twice.
std::string JoinShardSummaries(const std::string& folder, int* shardCount = nullptr, std::size_t* rowCount = nullptr);

} // namespace veltra
