#pragma once
// The input editor behind the main window's hooks: each call of the window's
// workflow (open, save, the Input page shown, a run) reaches TInputEditor.
#include "shell/TInputEditorHooks.h"
#include "shell/UInputEditor.h"

namespace veltra {

class TInputEditorLink final : public TInputEditorHooks {
public:
    explicit TInputEditorLink(TInputEditor& editor) : editor_(editor) {}

    void DataState(bool dataLoaded, int openedNs, int openedNy) override;
    void FillAllPages(const TInputRecord&) override;
    void KeysChanged(const TInputRecord&) override;
    void OfferGroups(const TInputRecord&) override;
    void LayOutSeasons(const TInputRecord&) override;
    void HideAllPanels() override;
    void ShowGeneralGroup() override;
    void StartGuidedEntry(TInputRecord&) override;
    void ResumeGuidedEntry(TInputRecord&) override;
    int GroupSaves() const override { return editor_.GroupSaves(); }

private:
    TInputEditor& editor_;
};

} // namespace veltra
