#include "runs/SummaryTable.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <regex>
#include <system_error>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// A summary of 100,000 cases stays far below this.
constexpr std::size_t MaxSummaryBytes = 256u * 1024 * 1024;

std::string Cell(const std::optional<double>& v)
{
    return v ? FullNumber(*v) : std::string();
}

[[noreturn]] void Refuse(const std::string& text)
{
    throw TVeltraError(TErrorKind::File, text);
}

} // namespace

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\n";
}

std::string FullNumber(double v)
{
    return ShortestText(v);
}

std::string SummaryHeader(const std::vector<std::string>& variedNames)
{
    std::vector<std::string> fields{"index", "name"};
    fields.insert(fields.end(), variedNames.begin(), variedNames.end());
    for (const char* f : {"status", "exit_status", "warnings", "years"})
        fields.emplace_back(f);
    for (std::string_view name : SummaryValueNames)
        fields.emplace_back(name);
    for (std::string_view name : SummaryValueNames)
        fields.push_back("mean_" + std::string(name));
    fields.emplace_back("message");
    return CsvLine(fields);
}

std::string SummaryLine(const TSummaryRow& row)
{
    const TCaseOutcome& o = row.Outcome;
    std::vector<std::string> fields{std::to_string(row.Index), row.Name};
    fields.insert(fields.end(), row.Varied.begin(), row.Varied.end());
    fields.emplace_back(CaseStatusText(o.Status));
    fields.push_back(std::to_string(CaseExitStatus(o.Status)));
    fields.push_back(o.Ran ? std::to_string(o.Warnings) : std::string());
    fields.push_back(o.Ran ? std::to_string(o.Years) : std::string());
    for (const auto& v : o.Last)
        fields.push_back(Cell(v));
    for (const auto& v : o.Means)
        fields.push_back(Cell(v));
    fields.push_back(o.Message);
    return CsvLine(fields);
}

std::vector<std::vector<std::string>> ReadCsvRecords(const std::string& text, const std::string& source)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            fields.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(fields));
            fields.clear();
        } else {
            field += c;
        }
    }
    if (quoted)
        Refuse("The file \"" + source + "\" ends inside a quoted field.");
    if (!field.empty() || !fields.empty()) {
        fields.push_back(std::move(field));
        records.push_back(std::move(fields));
    }
    return records;
}

std::string SummaryFileName(int shard, int shards)
{
    if (shards <= 1)
        return "summary.csv";
    return "summary-" + std::to_string(shard) + "-of-" + std::to_string(shards) + ".csv";
}

namespace {

// The shard summaries of one run in `folder`, by K, and their count N; refuses a
// folder that holds none, those of runs with different N, or not all of them.
std::map<int, fs::path> FindShardSummaries(const std::string& folder, int& n)
{
    static const std::regex shardName(R"(summary-(\d{1,6})-of-(\d{1,6})\.csv)");
    std::map<int, std::map<int, fs::path>> found; // N -> K -> file
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::smatch m;
        if (std::regex_match(name, m, shardName)) {
            const int k = std::stoi(m[1]), shards = std::stoi(m[2]);
            if (shards >= 2 && k < shards)
                found[shards][k] = it->path();
        }
    }
    if (ec)
        Refuse("The folder \"" + folder + "\" could not be read.");
    if (found.empty())
        Refuse("No shard summaries (summary-K-of-N.csv) in \"" + folder + "\".");
    if (found.size() > 1) {
        std::string counts;
        for (const auto& [shards, files] : found)
            counts += (counts.empty() ? "" : ", ") + std::to_string(shards);
        Refuse("The shard summaries in \"" + folder + "\" come from different shard counts (" + counts +
               "); keep the files of one run.");
    }
    n = found.begin()->first;
    const std::map<int, fs::path>& files = found.begin()->second;
    std::string missing;
    for (int k = 0; k < n; ++k)
        if (!files.count(k))
            missing += "\n  " + SummaryFileName(k, n);
    if (!missing.empty())
        Refuse("Shard summaries missing in \"" + folder + "\":" + missing);
    return files;
}

// The rows of the shard summaries `files` of N = `n` shards by case number, and
// their common header; refuses other columns, a row that is no case, a case in the
// wrong shard and a case twice.
std::map<long long, std::vector<std::string>> ReadShardRows(const std::map<int, fs::path>& files, int n,
                                                            std::vector<std::string>& header)
{
    std::map<long long, std::vector<std::string>> rows;
    for (const auto& [k, path] : files) {
        const std::string source = path.string();
        auto records = ReadCsvRecords(ReadWholeFile(source, MaxSummaryBytes, "a summary"), source);
        if (records.empty())
            Refuse("The file \"" + source + "\" has no header.");
        if (k == files.begin()->first)
            header = records.front();
        else if (records.front() != header)
            Refuse("The file \"" + source + "\" has other columns than " + SummaryFileName(files.begin()->first, n) +
                   ".");
        for (std::size_t r = 1; r < records.size(); ++r) {
            const std::vector<std::string>& row = records[r];
            long long index = 0;
            const std::string& first = row.front();
            const auto [ptr, err] = std::from_chars(first.data(), first.data() + first.size(), index);
            if (err != std::errc() || ptr != first.data() + first.size() || index < 1 || row.size() != header.size())
                Refuse("The file \"" + source + "\" has a row that is not a case (row " + std::to_string(r + 1) + ").");
            if ((index - 1) % n != k)
                Refuse("The file \"" + source + "\" holds case " + first + ", which belongs to shard " +
                       std::to_string((index - 1) % n) + ".");
            if (!rows.emplace(index, row).second)
                Refuse("Case " + first + " appears twice in the shard summaries.");
        }
    }
    return rows;
}

} // namespace

std::string JoinShardSummaries(const std::string& folder, int* shardCount, std::size_t* rowCount)
{
    int n = 0;
    const std::map<int, fs::path> files = FindShardSummaries(folder, n);
    std::vector<std::string> header;
    const std::map<long long, std::vector<std::string>> rows = ReadShardRows(files, n, header);
    std::string text = CsvLine(header);
    for (const auto& [index, row] : rows)
        text += CsvLine(row);
    if (shardCount)
        *shardCount = n;
    if (rowCount)
        *rowCount = rows.size();
    return text;
}

} // namespace veltra
