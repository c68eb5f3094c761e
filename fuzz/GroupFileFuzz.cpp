// The group-file reader, as `table FILE.prn` and `chart FILE.prn` use it, on any
// text: a file is read, found not to be a group file, or refused with a
// TVeltraError, never a crash or a hang. A group that was read is shown, drawn and
// saved again, and the saved file reads back to the same rows and values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/TNullCanvas.h"
#include "graphs/Chart.h"
#include "model/TVeltraError.h"
#include "results/FrequencyFile.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

namespace veltra::fuzz {

namespace {

int OneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SplitLines(std::string(reinterpret_cast<const char*>(data), size));
    if (IsFrequencyText(lines))
        return 0; // a saved frequency view: shown as it stands
    TDataMod dm;
    try {
        ReadGroupLines(dm, "fuzz.prn", lines);
    } catch (const TVeltraError&) {
        return 0; // refused, with its message
    }
    if (dm.Groups.NotGroupFile)
        return 0;
    SetPresenceAfterGroupOpen(dm);
    dm.ResultLines = lines;
    TableViewLines(dm);
    ClipboardText(dm);

    TDataMod back;
    try {
        ReadGroupLines(back, "again.prn", SplitLines(GroupFileText(dm)));
    } catch (const TVeltraError& e) {
        Broken(e.what());
    }
    if (back.Groups.NotGroupFile || back.Groups.RowTexts != dm.Groups.RowTexts ||
        back.Groups.GroupSeries != dm.Groups.GroupSeries)
        Broken("a saved group file reads back to other rows or values");

    TNullCanvas canvas;
    DrawChart(dm.Groups, dm.Rec, canvas);
    return 0;
}

} // namespace

} // namespace veltra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return veltra::fuzz::OneInput(data, size);
}
