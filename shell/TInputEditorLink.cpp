#include "shell/TInputEditorLink.h"

namespace veltra {

void TInputEditorLink::DataState(bool dataLoaded, int openedNs, int openedNy)
{
    const bool nowLoaded = dataLoaded && !editor_.DataLoaded;
    editor_.DataLoaded = dataLoaded;
    editor_.OpenedNs = static_cast<std::uint8_t>(openedNs);
    editor_.OpenedNy = static_cast<std::uint8_t>(openedNy);
    // A new data set saved as a file: every group may be chosen from now on.
    if (nowLoaded)
        editor_.OfferGroups();
}

void TInputEditorLink::FillAllPages(const TInputRecord&)
{
    editor_.FillFromRecord();
}

void TInputEditorLink::KeysChanged(const TInputRecord&)
{
    editor_.ShowKeys();
    // During the guided entry the groups of drains and wells come in their turn.
    if (editor_.DataLoaded)
        editor_.FollowKeys();
}

void TInputEditorLink::OfferGroups(const TInputRecord&)
{
    editor_.OfferGroups();
    // The Input page shown again enables " Save / run ": not while a panel is open.
    editor_.KeepSaveRunWhilePanelOpen();
}

void TInputEditorLink::LayOutSeasons(const TInputRecord&)
{
    editor_.LayOutSeasons();
}

void TInputEditorLink::HideAllPanels()
{
    editor_.HideAllPanels();
}

void TInputEditorLink::ShowGeneralGroup()
{
    editor_.ShowGroup(TGroupId::General);
}

void TInputEditorLink::StartGuidedEntry(TInputRecord&)
{
    editor_.StartGuidedEntry();
}

void TInputEditorLink::ResumeGuidedEntry(TInputRecord&)
{
    // The Input page shown again enables " Save / run ": not while a panel is open.
    editor_.KeepSaveRunWhilePanelOpen();
}

} // namespace veltra
