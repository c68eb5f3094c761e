#include "shell/ShellOps.h"

#include <exception>

#include "model/TVeltraError.h"

namespace veltra {

TDialogInfo DialogInfo(TDialog dialog)
{
    // Both cases: a save writes ".INP", which a lower-case pattern would hide where
    // names are case-sensitive. Pictures may be PNG as well as bitmaps, and a chart
    // may be saved as vectors (SVG, PDF) for reports, which cannot be opened again.
    switch (dialog) {
    case TDialog::InputOpen: return {"Open input file", "Input files (*.inp *.INP)", "inp", false};
    case TDialog::InputSave: return {"Save input file", "Input files (*.inp *.INP)", "inp", true};
    case TDialog::OutputOpen: return {"Open output file", "Result files (*.res *.RES)", "res", false};
    case TDialog::GraphOpen: return {"Open graph", "Image files (*.bmp *.BMP *.png *.PNG)", "bmp", false};
    case TDialog::GraphSave:
        return {"Save graph", "Image files (*.bmp *.BMP *.png *.PNG *.svg *.SVG *.pdf *.PDF)", "bmp", true};
    case TDialog::GroupOpen: return {"Open group file", "PRN files (*.prn *.PRN)", "prn", false};
    case TDialog::GroupSave: return {"Save group file", "PRN files (*.prn *.PRN)", "prn", true};
    case TDialog::ExampleFolder: return {"Open example: the folder for the example input files", "", "", false};
    }
    return {"", "", "", false};
}

void HandleUserEvent(const std::function<void()>& body, const std::function<void(const std::string&)>& report) noexcept
{
    std::string text;
    try {
        body();
        return;
    } catch (const TVeltraError& e) {
        text = e.Kind == TErrorKind::Internal ? std::string("Veltra: internal error: ") + e.what() : e.what();
    } catch (const std::exception& e) {
        text = std::string("Veltra: internal error: ") + e.what();
    } catch (...) {
        text = "Veltra: internal error: an unknown failure ended this action.";
    }
    try {
        report(text);
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

} // namespace veltra
