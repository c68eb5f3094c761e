#pragma once
// What the main window's workflow asks of the input editor (the data-group
// selector and panels of the Input page). The window calls these at fixed points
// of opening, saving, showing the Input page and running; TInputEditorLink
// (shell/TInputEditorLink.h) passes them to the editor. Every hook does nothing by
// default, so that the window's own tests can count the calls.
#include "model/UDataMod.h"

namespace veltra {

class TInputEditorHooks {
public:
    virtual ~TInputEditorHooks() = default;

    // The window's DataLoaded, OpenedNs and OpenedNy changed: a file was opened, or
    // a save noted Ns and Ny as the file's (a save of the General data group that
    // raises either fills all pages again).
    virtual void DataState(bool /*dataLoaded*/, int /*openedNs*/, int /*openedNy*/) {}

    // Every field and selector of the group panels shows the record's value (a file
    // was opened, a run changed the record).
    virtual void FillAllPages(const TInputRecord&) {}
    // The key selectors and Ny show the record's values, and what depends on them
    // follows: the drainage groups on Kd, the well groups on Kp, Krf, CaMax and
    // CbMax on Kf.
    virtual void KeysChanged(const TInputRecord&) {}
    // With an opened file every group can be chosen (drainage groups only with
    // Kd = 1, well groups only with Kp = 1).
    virtual void OfferGroups(const TInputRecord&) {}
    // The season-dependent fields follow Ns.
    virtual void LayOutSeasons(const TInputRecord&) {}
    // Every group panel hidden.
    virtual void HideAllPanels() {}
    // The General data group shown and selected.
    virtual void ShowGeneralGroup() {}
    // A new data set: the groups are offered one after another, starting with
    // General data; " Save / run " stays disabled until the last one.
    virtual void StartGuidedEntry(TInputRecord&) {}
    // The Input page shown again while that entry goes on: it stays where it was,
    // with its keys and the groups it has confirmed.
    virtual void ResumeGuidedEntry(TInputRecord&) {}

    // How many times a group was saved with "Save group" since the start: the window
    // compares it with the count when the input was last read or written.
    virtual int GroupSaves() const { return 0; }
};

} // namespace veltra
