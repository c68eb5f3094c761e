// The .inp reader and the input checks, as `check`, `convert` and `run` use them, on
// any text: a text is read or refused with a TVeltraError, never a crash or a hang.
// What the reader took in is checked, and a record the writer can write reads back
// to the same text (convert of convert changes nothing).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/TNullCanvas.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"

namespace veltra::fuzz {

namespace {

int OneInput(const std::uint8_t* data, std::size_t size)
{
    TInputRecord rec;
    try {
        ReadInputText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.inp", rec);
    } catch (const TVeltraError&) {
        return 0; // refused, with its message
    }
    InputErrorLines(rec);
    ValidateBeforeSave(rec);
    // convert writes Ns 1..4 and Kd 0 or 1 only; such a record must read back to itself.
    if (rec.Ns < 1 || rec.Ns > 4 || rec.Kd > 1)
        return 0;
    const std::string written = InputFileText(rec);
    TInputRecord back;
    try {
        ReadInputText(written, "written.inp", back);
    } catch (const TVeltraError& e) {
        Broken(e.what());
    }
    if (InputFileText(back) != written)
        Broken("a written input file reads back to another text");
    InputErrorLines(back);
    return 0;
}

} // namespace

} // namespace veltra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return veltra::fuzz::OneInput(data, size);
}
