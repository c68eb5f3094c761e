// What `batch --list` and `summary` read from files a user or a cluster job left: a
// list file and shard summaries, on any bytes. A list gives its non-blank lines, each
// without its line end; shard summaries (the input's parts between NUL bytes, one
// shard each) are joined or refused with a TVeltraError, never a crash or a hang,
// and a join holds every case of 1..count once, in order.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz/TNullCanvas.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/SummaryTable.h"

namespace veltra::fuzz {

namespace {

void CheckList(const std::string& text)
{
    for (const std::string& entry : ListFileEntries(text)) {
        if (entry.find_first_not_of(" \t") == std::string::npos)
            Broken("a blank line of a list file taken as a file");
        if (entry.find('\n') != std::string::npos || entry.back() == '\r')
            Broken("a list entry keeps its line end");
    }
}

void CheckJoin(const std::string& text)
{
    std::map<int, TShardText> shards;
    int k = 0;
    for (std::size_t at = 0;; ++k) {
        const std::size_t end = text.find('\0', at);
        shards[k] = {"summary-" + std::to_string(k) + ".csv", text.substr(at, end - at)};
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    const int n = std::max(2, k + 1);
    std::string joined;
    std::size_t rows = 0;
    try {
        joined = JoinShardTexts(shards, n, &rows);
    } catch (const TVeltraError&) {
        return; // refused, with its message
    }
    std::vector<std::vector<std::string>> records;
    try {
        records = ReadCsvRecords(joined, "joined");
    } catch (const TVeltraError&) {
        Broken("a joined summary does not read back");
    }
    if (records.size() != rows + 1)
        Broken("a joined summary has another number of rows than it reports");
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::string& first = records[r].front();
        std::size_t index = 0;
        const auto [ptr, ec] = std::from_chars(first.data(), first.data() + first.size(), index);
        if (ec != std::errc() || index != r)
            Broken("a joined summary misses a case or holds one out of order");
    }
    SummaryPlan(joined);
}

} // namespace

} // namespace veltra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    veltra::fuzz::CheckList(text);
    veltra::fuzz::CheckJoin(text);
    return 0;
}
