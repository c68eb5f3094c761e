#include "shell/ShellOps.h"

namespace veltra {

TDialogInfo DialogInfo(TDialog dialog)
{
    switch (dialog) {
    case TDialog::InputOpen: return {"Input files (*.inp)|*.inp", "inp", false};
    case TDialog::InputSave: return {"Input files (*.inp)|*.inp", "inp", true};
    case TDialog::OutputOpen: return {"Result files (*.res)|*.res", "res", false};
    case TDialog::GraphOpen: return {"Image files (*.bmp)|*.bmp", "bmp", false};
    case TDialog::GraphSave: return {"Image files (*.bmp)|*.bmp", "bmp", true};
    case TDialog::GroupOpen: return {"PRN files (*.prn)|*.prn", "prn", false};
    case TDialog::GroupSave: return {"PRN files (*.prn)|*.prn", "prn", true};
    }
    return {"", "", false};
}

} // namespace veltra
