#pragma once
// The input editor of the Input page: the 22 data groups (InputGroups.h) shown,
// saved and cancelled through the shell operations, the guided entry of a new
// data set, and the events of the General data group's selectors and fields.
// The main window tells it the events of its workflow; the window's panels call the
// events of the groups.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/InputGroups.h"
#include "shell/ShellOps.h"
#include "shell/TInputEditorHooks.h"

namespace veltra {

class TInputEditor final : public TInputEditorHooks {
public:
    TInputEditor(TInputRecord& rec, ShellOps& ops);

    // ---- Events of the main window's workflow (TInputEditorHooks.h) ----
    void InputPageShown() override;
    void InputFileOpened() override;
    void ResultInputRead() override;
    void SavingInput() override;
    void InputSaved() override;
    void RunFinished() override;
    void KeysReset() override;
    bool DataLoaded() const override { return dataLoaded_; }
    // Groups saved with "Save group" since the start.
    int GroupSaves() const override { return groupSaves_; }

    // The guided entry of a new data set: the record's keys get the fresh defaults,
    // the fields their default texts (the first time only: the panels keep what was
    // typed), and the entry starts with the General data group. " Save / run "
    // (SaveRun_Button) stays disabled until the last group is saved.
    void StartGuidedEntry();
    // Every field and selector shows the record's value (a Kr of 10 the item "10").
    void FillFromRecord();

    // ---- Events of the panels ----
    // A group's entry in "Select data group" was chosen: its panel is shown, unless it
    // is the open one (a second click keeps what was typed).
    void ChooseGroup(TGroupId id);
    // The panel of group `id` shown and laid out for the seasons and keys.
    void ShowGroup(TGroupId id);
    // "Save group" of the open group; true when it was stored and confirmed.
    bool SaveGroup();
    // "Cancel" of the open group: the record is put back as it was when the panel
    // was shown (the calculator's QH1 and QH2 excepted).
    void CancelGroup();
    // The General data group's selectors and fields.
    void NsChanged();
    void NsLeft();
    void KdChanged();
    void KpChanged();
    void KfChanged();
    void KfLeft();
    void KyChanged();
    void NyLeft();
    void CaMaxLeft();
    void CbMaxLeft();
    // The Drainage system group's buttons.
    void DrainageEquationClicked();
    void DrainageCalculationsClicked();

    // ---- What the window and the tests may ask ----
    std::optional<TGroupId> OpenGroup() const { return open_; }
    bool GuidedEntryRunning() const { return !dataLoaded_ && !guidedDone_; }
    double UnirrigatedTotal() const { return unirrigatedTotal_; }

private:
    struct TStored {
        const TFieldDef* Field;
        int Season; // 0 for a field that is not seasonal
    };
    // A value the editor stored, with the value it replaced.
    struct TUndo {
        double TInputRecord::*Scalar;
        TSeasonal TInputRecord::*Seasonal;
        std::uint8_t TInputRecord::*Key;
        int Season;
        double Old;
        double New;
        std::uint8_t TShellFields::*ShellKey = nullptr;
    };

    // The record holds the input of a file now: every group may be chosen, and Ns and
    // Ny are the file's.
    void NoteFileInput();
    // With a file loaded every group but the drainage groups without drains (Kd = 0)
    // and the well groups without wells (Kp = 0); otherwise the General data group only.
    void OfferGroups();
    // The selectors of the drainage and well groups follow Kd and Kp; the Krf
    // selector and the CaMax and CbMax fields are shown exactly when Kf = 1.
    void FollowKeys();
    // Enables the season columns of every group again (Ns may have grown); showing a
    // group disables the seasons beyond Ns.
    void LayOutSeasons();
    // Every group panel hidden, " Save / run " enabled.
    void HideAllPanels();
    // The key selectors and the Ny field show the record's values (with the General
    // data panel open, Kr, Krf and Ny keep what was typed); Krf, CaMax and CbMax are
    // shown exactly when Kf = 1.
    void ShowKeys();
    // With a group panel open " Save / run " stays disabled, whoever enabled it.
    void KeepSaveRunWhilePanelOpen();

    int Ns() const;
    bool FieldApplies(const TFieldDef& f, int season) const;
    bool ScalarShown(const TFieldDef& f) const;
    double Value(const TFieldDef& f, int season) const;
    void Store(const TFieldDef& f, int season, double value);
    void StoreKey(std::uint8_t TInputRecord::*key, double value);
    void StoreKey(std::uint8_t TShellFields::*key, double value);
    void SetFieldText(const TFieldDef& f, int season, double value);
    int SelectorIndex(const TFieldDef& f, int season);
    const TFieldDef& GeneralField(const char* symbol) const;
    void ShowKeysInSelectors();
    void ShowKfFields();
    void SetDefaultTexts();
    void EnableGroup(TGroupId id, bool enabled);
    void ApplyNs();

    bool ReadAndStore(const TGroupDef& g, const TFieldDef& f, int season, std::vector<TStored>& stored);
    bool SaveGeneral();
    bool SaveFields(const TGroupDef& g);
    std::optional<std::string> FailedTest(const TGroupDef& g, const std::vector<TStored>& stored) const;
    bool NyRule();
    bool MaxSalinityRule(const TFieldDef& f);
    void Fail(const TGroupDef& g, const std::string& message);

    TInputRecord& rec_;
    ShellOps& ops_;
    // An input file was read or saved: every group may be chosen at any time.
    bool dataLoaded_ = false;
    // Ns and Ny when the input file was read or last saved: a save of the General
    // data group that raises either fills all pages again from the record.
    std::uint8_t openedNs_ = 0;
    std::uint8_t openedNy_ = 0;
    bool guidedStarted_ = false; // the Input page started the guided entry of a new data set
    std::optional<TGroupId> open_;
    std::vector<TUndo> undo_;         // what the editor stored since the open group was shown
    bool savedOnce_[GroupCount] = {}; // a group saved once in the guided entry may be cancelled
    bool guidedDone_ = false;         // the guided entry reached its last group
    bool defaultsSet_ = false;
    int groupSaves_ = 0;
    double unirrigatedTotal_ = 0;
};

} // namespace veltra
