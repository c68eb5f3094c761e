// The result-file group reader, as `table` and `chart` use it, on any text: every
// group is read or refused with a TVeltraError, never a crash or a hang. A group that
// was read builds each of its tables and charts, and its group file reads back to
// the same rows and values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/TNullCanvas.h"
#include "graphs/Chart.h"
#include "model/TVeltraError.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

namespace veltra::fuzz {

namespace {

void OneOption(const std::vector<std::string>& lines, int number)
{
    TDataMod dm;
    try {
        ReadResultGroupLines(dm, GroupOption(number).Reads, "fuzz.res", lines);
    } catch (const TVeltraError&) {
        return; // refused, with its message
    }
    BuildGroupOption(dm, number);
    TableViewLines(dm);
    ClipboardText(dm);
    GroupCsvText(dm);

    // The group file of the table reads back to the same rows and values.
    TDataMod back;
    try {
        ReadGroupLines(back, "fuzz.prn", SplitLines(GroupFileText(dm)));
    } catch (const TVeltraError& e) {
        Broken(e.what());
    }
    if (back.Groups.NotGroupFile || back.Groups.RowTexts != dm.Groups.RowTexts ||
        back.Groups.RecordCount != dm.Groups.RecordCount || back.Rec.Ns != dm.Rec.Ns)
        Broken("a group file reads back to other rows");

    TNullCanvas canvas;
    TDataMod drawn = dm;
    DrawChart(drawn.Groups, drawn.Rec, canvas);
}

int OneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SplitLines(std::string(reinterpret_cast<const char*>(data), size));
    for (int number = 1; number <= 12; ++number)
        OneOption(lines, number);
    return 0;
}

} // namespace

} // namespace veltra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return veltra::fuzz::OneInput(data, size);
}
