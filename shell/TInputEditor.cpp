#include "shell/TInputEditor.h"

#include <cmath>

#include "model/InputCheck.h"
#include "model/NumberEntry.h"
#include "model/NumberText.h"
#include "shell/WindowMessages.h"

namespace veltra {

namespace {

using R = TInputRecord;

// Sums of typed decimals are compared with the tolerances of the input check.
constexpr double MonthsTolerance = 1e-6;
constexpr double FractionTolerance = 1e-9;

bool Names(const TValueTest& t, const TFieldDef& f)
{
    for (const char* symbol : t.Symbols)
        if (std::string(symbol) == f.Symbol)
            return true;
    return false;
}

// A seasonal field is addressed with its season 1..4, the others with season 0.
bool IsSeason(int season)
{
    return season >= 1 && season <= 4;
}

// The record value of a selector's item: its position for no/yes, the season
// count for Ns, the key itself for Kr.
double ItemValue(const TFieldDef& f, int index)
{
    switch (f.Items) {
    case TItems::Seasons: return index + 1;
    case TItems::RotationKeys: return std::stoi(SelectorItems(f.Items)[static_cast<std::size_t>(index)]);
    case TItems::NoYes:
    case TItems::None: break;
    }
    return index;
}

} // namespace

TInputEditor::TInputEditor(TInputRecord& rec, ShellOps& ops) : rec_(rec), ops_(ops) {}

// ---------------------------------------------------------------- record access

int TInputEditor::Ns() const
{
    return rec_.Ns < 1 ? 1 : (rec_.Ns > 4 ? 4 : rec_.Ns);
}

double TInputEditor::Value(const TFieldDef& f, int season) const
{
    if (f.Seasonal)
        return IsSeason(season) ? (rec_.*f.Seasonal)[season] : 0.0;
    if (f.Scalar)
        return rec_.*f.Scalar;
    return rec_.*f.Key;
}

void TInputEditor::Store(const TFieldDef& f, int season, double value)
{
    if (f.Seasonal && !IsSeason(season))
        return;
    undo_.push_back({f.Scalar, f.Seasonal, f.Key, season, Value(f, season), value});
    if (f.Seasonal)
        (rec_.*f.Seasonal)[season] = value;
    else if (f.Scalar)
        rec_.*f.Scalar = value;
    else
        rec_.*f.Key = static_cast<std::uint8_t>(value);
}

void TInputEditor::StoreKey(std::uint8_t TInputRecord::*key, double value)
{
    undo_.push_back({nullptr, nullptr, key, 0, static_cast<double>(rec_.*key), value});
    rec_.*key = static_cast<std::uint8_t>(value);
}

void TInputEditor::StoreKey(std::uint8_t TShellFields::*key, double value)
{
    undo_.push_back({nullptr, nullptr, nullptr, 0, static_cast<double>(rec_.Shell.*key), value, key});
    rec_.Shell.*key = static_cast<std::uint8_t>(value);
}

bool TInputEditor::FieldApplies(const TFieldDef& f, int season) const
{
    return season <= Ns() && LandPresent(rec_, f.Land, season) && (!f.OnlyWithPumping || rec_.Gw[season] > 0);
}

bool TInputEditor::ScalarShown(const TFieldDef& f) const
{
    if (f.Kd == TKdRule::Drains && rec_.Kd != 1)
        return false;
    if (f.Kd == TKdRule::NoDrains && rec_.Kd == 1)
        return false;
    return f.Land == TLand::Any || LandPresentInAnySeason(rec_, f.Land);
}

const TFieldDef& TInputEditor::GeneralField(const char* symbol) const
{
    return *Group(TGroupId::General).Field(symbol);
}

// ---------------------------------------------------------------- selectors

int TInputEditor::SelectorIndex(const TFieldDef& f, int season)
{
    const std::string text = ops_.GetControlText(FieldControl(f, season));
    const auto& items = SelectorItems(f.Items);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
            return static_cast<int>(i);
    return -1;
}

void TInputEditor::SetFieldText(const TFieldDef& f, int season, double value)
{
    const std::string control = FieldControl(f, season);
    switch (f.Kind) {
    case TFieldKind::Number: ops_.SetControlText(control, PlainNumberText(value)); return;
    case TFieldKind::Whole: ops_.SetControlText(control, std::to_string(static_cast<long>(value))); return;
    case TFieldKind::Selector: break;
    }
    const auto& items = SelectorItems(f.Items);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (ItemValue(f, static_cast<int>(i)) == value) {
            ops_.SetControlText(control, items[i]);
            return;
        }
    // A value no item stands for (a rice index of 0.5 from a file): "no".
    ops_.SetControlText(control, f.Items == TItems::NoYes ? items.front() : PlainNumberText(value));
}

void TInputEditor::ShowKeysInSelectors()
{
    for (const char* symbol : {"Ns", "Kd", "Kp", "Kf", "Kr", "Krf", "Ky"}) {
        const TFieldDef& f = GeneralField(symbol);
        SetFieldText(f, 0, Value(f, 0));
    }
}

void TInputEditor::ShowKfFields()
{
    for (const char* symbol : {"Krf", "CaMax", "CbMax"}) {
        const TFieldDef& f = GeneralField(symbol);
        if (rec_.Kf == 1) {
            ops_.ShowControl(FieldControl(f));
            ops_.ShowControl(FieldLabelControl(f));
        } else {
            ops_.HideControl(FieldControl(f));
            ops_.HideControl(FieldLabelControl(f));
        }
    }
}

void TInputEditor::EnableGroup(TGroupId id, bool enabled)
{
    const std::string radio = RadioControl(Group(id));
    if (enabled)
        ops_.EnableControl(radio);
    else
        ops_.DisableControl(radio);
}

// ---------------------------------------------------------------- pages and groups

void TInputEditor::SetDefaultTexts()
{
    for (const auto& g : InputGroups())
        for (const auto& f : g.Fields) {
            if (f.IsSeasonal())
                for (int s = 1; s <= 4; ++s)
                    ops_.SetControlText(FieldControl(f, s), DefaultText(f, s));
            else
                ops_.SetControlText(FieldControl(f), DefaultText(f, 0));
        }
}

void TInputEditor::StartGuidedEntry()
{
    dataLoaded_ = false;
    guidedDone_ = false;
    for (bool& saved : savedOnce_)
        saved = false;
    SetFreshInputDefaults(rec_);
    if (!defaultsSet_) {
        SetDefaultTexts();
        defaultsSet_ = true;
    }
    ShowKeysInSelectors();
    ShowKfFields();
    LayOutSeasons();
    OfferGroups();
    HideAllPanels();
    ops_.DisableControl(ctl::SaveRunButton);
    ops_.ShowControl(ctl::DataGroupPanel);
    ShowGroup(TGroupId::General);
}

void TInputEditor::FillFromRecord()
{
    for (const auto& g : InputGroups())
        for (const auto& f : g.Fields) {
            if (f.IsSeasonal())
                for (int s = 1; s <= 4; ++s)
                    SetFieldText(f, s, Value(f, s));
            else
                SetFieldText(f, 0, Value(f, 0));
        }
}

void TInputEditor::OfferGroups()
{
    for (const auto& g : InputGroups()) {
        bool offered = g.Id == TGroupId::General;
        if (dataLoaded_)
            offered = !(g.Condition == TGroupCondition::Drains && rec_.Kd != 1) &&
                      !(g.Condition == TGroupCondition::Wells && rec_.Kp != 1);
        EnableGroup(g.Id, offered);
    }
}

void TInputEditor::FollowKeys()
{
    for (const auto& g : InputGroups()) {
        if (g.Condition == TGroupCondition::Drains)
            EnableGroup(g.Id, rec_.Kd == 1);
        if (g.Condition == TGroupCondition::Wells)
            EnableGroup(g.Id, rec_.Kp == 1);
    }
    ShowKfFields();
}

void TInputEditor::LayOutSeasons()
{
    for (const auto& g : InputGroups()) {
        if (!g.IsSeasonal())
            continue;
        for (int s = 1; s <= 4; ++s) {
            ops_.EnableControl(SeasonLabelControl(g, s));
            for (const auto& f : g.Fields)
                ops_.EnableControl(FieldControl(f, s));
        }
    }
}

void TInputEditor::HideAllPanels()
{
    for (const auto& g : InputGroups())
        ops_.HideControl(PanelControl(g));
    ops_.EnableControl(ctl::InputSave);
    open_.reset();
    undo_.clear();
}

void TInputEditor::ShowKeys()
{
    // An open General data panel keeps what was typed into the fields that reach the
    // record only by its "Save group" (Kr, Krf, Ny): a look at another page loses
    // nothing. The selectors that act at once show the record's keys.
    const bool typing = open_ == TGroupId::General;
    for (const char* symbol : {"Ns", "Kd", "Kp", "Kf", "Kr", "Krf", "Ky", "Ny"}) {
        const std::string s = symbol;
        if (typing && (s == "Kr" || s == "Krf" || s == "Ny"))
            continue;
        const TFieldDef& f = GeneralField(symbol);
        SetFieldText(f, 0, Value(f, 0));
    }
    ShowKfFields();
}

void TInputEditor::KeepSaveRunWhilePanelOpen()
{
    if (open_)
        ops_.DisableControl(ctl::InputSave);
}

// ---------------------------------------------------------------- events of the workflow

void TInputEditor::NoteFileInput()
{
    const bool nowLoaded = !dataLoaded_;
    dataLoaded_ = true;
    openedNs_ = rec_.Ns;
    openedNy_ = rec_.Ny;
    // A new data set saved as a file: every group may be chosen from now on.
    if (nowLoaded)
        OfferGroups();
}

void TInputEditor::InputPageShown()
{
    if (dataLoaded_) {
        ShowKeys();
        FollowKeys();
        OfferGroups();
        // The page enables " Save / run ": not while a panel is open.
        KeepSaveRunWhilePanelOpen();
        ops_.EnableControl(ctl::SaveRunButton);
    } else if (guidedStarted_) {
        // A look at another page: the entry goes on with its keys and groups.
        ShowKeys();
        KeepSaveRunWhilePanelOpen();
    } else {
        SetFreshInputDefaults(rec_);
        ShowKeys();
        StartGuidedEntry();
        guidedStarted_ = true;
    }
}

void TInputEditor::InputFileOpened()
{
    NoteFileInput();
    ShowKeys();
    FollowKeys();
    FillFromRecord();
    OfferGroups();
    KeepSaveRunWhilePanelOpen();
    LayOutSeasons();
    HideAllPanels();
    ops_.EnableControl(ctl::SaveRunButton); // no panel is open
    ShowGroup(TGroupId::General);
}

void TInputEditor::ResultInputRead()
{
    NoteFileInput();
    ShowKeys();
    FollowKeys();
    FillFromRecord();
}

void TInputEditor::SavingInput()
{
    openedNs_ = rec_.Ns;
    openedNy_ = rec_.Ny;
}

void TInputEditor::InputSaved()
{
    // A new data set saved is a file like an opened one.
    if (!dataLoaded_) {
        dataLoaded_ = true;
        OfferGroups();
    }
}

void TInputEditor::RunFinished()
{
    FillFromRecord();
}

void TInputEditor::KeysReset()
{
    ShowKeys();
    // During the guided entry the groups of drains and wells come in their turn.
    if (dataLoaded_)
        FollowKeys();
}

// ---------------------------------------------------------------- show, save, cancel

void TInputEditor::ChooseGroup(TGroupId id)
{
    if (open_ != id)
        ShowGroup(id);
}

void TInputEditor::ShowGroup(TGroupId id)
{
    const TGroupDef& g = Group(id);
    HideAllPanels();
    if (g.IsSeasonal()) {
        for (int s = 1; s <= 4; ++s) {
            if (s > Ns())
                ops_.DisableControl(SeasonLabelControl(g, s));
            else
                ops_.EnableControl(SeasonLabelControl(g, s));
            for (const auto& f : g.Fields) {
                const std::string control = FieldControl(f, s);
                if (FieldApplies(f, s)) {
                    ops_.EnableControl(control);
                } else {
                    ops_.DisableControl(control);
                    if (f.Kind != TFieldKind::Selector)
                        ops_.SetControlText(control, "-1");
                }
            }
        }
    } else if (id == TGroupId::General) {
        ShowKfFields();
    } else {
        for (const auto& f : g.Fields) {
            if (ScalarShown(f)) {
                ops_.ShowControl(FieldControl(f));
                ops_.ShowControl(FieldLabelControl(f));
            } else {
                ops_.HideControl(FieldControl(f));
                ops_.HideControl(FieldLabelControl(f));
            }
        }
    }
    // The guided entry goes on: a group not yet saved cannot be cancelled.
    if (GuidedEntryRunning() && !savedOnce_[static_cast<int>(id)])
        ops_.DisableControl(CancelButtonControl(g));
    else
        ops_.EnableControl(CancelButtonControl(g));
    ops_.SetControlText(ctl::DataGroupRadioGroup, g.Caption);
    ops_.ShowControl(PanelControl(g));
    ops_.DisableControl(ctl::InputSave);
    open_ = id;
}

void TInputEditor::Fail(const TGroupDef& g, const std::string& message)
{
    ops_.ShowMessage(message);
    if (g.FailureNote)
        ops_.ShowMessage(g.FailureNote);
}

bool TInputEditor::ReadAndStore(const TGroupDef& g, const TFieldDef& f, int season, std::vector<TStored>& stored)
{
    if (f.Kind == TFieldKind::Selector) {
        const int index = SelectorIndex(f, season);
        if (index >= 0) {
            Store(f, season, ItemValue(f, index));
            stored.push_back({&f, season});
        }
        return true;
    }
    const std::string text = ops_.GetControlText(FieldControl(f, season));
    const auto value = ReadFieldNumber(text);
    if (!value) {
        Fail(g, NotANumberMessage(text));
        return false;
    }
    if (*value == -1) {
        Fail(g, msg::CellTest);
        return false;
    }
    Store(f, season, *value);
    stored.push_back({&f, season});
    return true;
}

std::optional<std::string> TInputEditor::FailedTest(const TGroupDef& g, const std::vector<TStored>& stored) const
{
    for (const auto& t : g.Tests) {
        switch (t.Rule) {
        case TRule::SumIs12: {
            double sum = 0;
            for (const auto& e : stored)
                if (Names(t, *e.Field))
                    sum += Value(*e.Field, e.Season);
            if (std::fabs(sum - 12.0) > MonthsTolerance)
                return t.Message;
            break;
        }
        case TRule::SumAtMost1:
            for (int s = 1; s <= 4; ++s) {
                double sum = 0;
                for (const auto& e : stored)
                    if (e.Season == s && Names(t, *e.Field))
                        sum += Value(*e.Field, s);
                if (sum > 1.0 + FractionTolerance)
                    return t.Message;
            }
            break;
        case TRule::BelowHalfOf: {
            const TFieldDef* drainable = g.Field(t.Symbols[0]);
            const TFieldDef* total = g.Field(t.Symbols[1]);
            for (const auto& e : stored)
                if (e.Field == drainable && !(Value(*drainable, 0) < Value(*total, 0) / 2))
                    return t.Message;
            break;
        }
        case TRule::DrainDepth:
            if (!DrainDepthAccepted(rec_))
                return t.Message;
            break;
        default:
            for (const auto& e : stored)
                if (Names(t, *e.Field) && !PassesRule(t.Rule, Value(*e.Field, e.Season)))
                    return t.Message;
            break;
        }
    }
    return std::nullopt;
}

bool TInputEditor::SaveFields(const TGroupDef& g)
{
    std::vector<TStored> stored;
    if (g.IsSeasonal()) {
        for (int s = 1; s <= Ns(); ++s)
            for (const auto& f : g.Fields)
                if (FieldApplies(f, s) && !ReadAndStore(g, f, s, stored))
                    return false;
    } else {
        for (const auto& f : g.Fields)
            if (ScalarShown(f) && !ReadAndStore(g, f, 0, stored))
                return false;
    }
    if (const auto message = FailedTest(g, stored)) {
        Fail(g, *message);
        return false;
    }
    return true;
}

bool TInputEditor::SaveGeneral()
{
    const TGroupDef& g = Group(TGroupId::General);
    std::vector<TStored> stored;
    if (!ReadAndStore(g, GeneralField("Area"), 0, stored))
        return false;
    for (const char* symbol : {"Ns", "Kd", "Kp", "Kf", "Kr", "Krf"})
        ReadAndStore(g, GeneralField(symbol), 0, stored);
    if (!NyRule())
        return false;
    for (const char* symbol : {"CaMax", "CbMax"}) {
        const TFieldDef& f = GeneralField(symbol);
        if (!MaxSalinityRule(f))
            return false;
        Store(f, 0, *ReadFieldNumber(ops_.GetControlText(FieldControl(f))));
    }
    return true;
}

bool TInputEditor::SaveGroup()
{
    if (!open_)
        return false;
    const TGroupId id = *open_;
    const TGroupDef& g = Group(id);
    if (!(id == TGroupId::General ? SaveGeneral() : SaveFields(g)))
        return false;

    ++groupSaves_;
    ops_.ShowMessage(g.Confirmation);
    HideAllPanels();
    ops_.ShowControl(ctl::DataGroupPanel);
    if (id == TGroupId::DrainageSystem) {
        ops_.HideWindow(TWindow::Drain);
        ops_.HideWindow(TWindow::Alfa);
    }
    if (id == TGroupId::IrrigatedAreas) {
        unirrigatedTotal_ = 0;
        for (int s = 1; s <= Ns(); ++s)
            unirrigatedTotal_ += 1.0 - rec_.A[s] - rec_.B[s];
        const TGroupDef& rice = Group(TGroupId::RiceCropping);
        for (int s = 1; s <= 4; ++s)
            for (const auto& f : rice.Fields) {
                if (FieldApplies(f, s))
                    ops_.EnableControl(FieldControl(f, s));
                else
                    ops_.DisableControl(FieldControl(f, s));
            }
    }
    if (id == TGroupId::General) {
        // The Input page shown again after a run puts these back: they are the ones
        // the user saved last, not those of the file as it was.
        rec_.Shell.SavedNy = rec_.Ny;
        rec_.Shell.SavedKy = rec_.Ky;
        FollowKeys();
        if (dataLoaded_ && (rec_.Ns > openedNs_ || rec_.Ny > openedNy_))
            FillFromRecord();
    }
    const bool guided = GuidedEntryRunning();
    savedOnce_[static_cast<int>(id)] = true;
    ops_.EnableControl(CancelButtonControl(g));
    if (!guided) {
        ops_.SetControlText(ctl::DataGroupRadioGroup, "");
        return true;
    }
    if (const auto next = NextGuidedGroup(id, rec_, unirrigatedTotal_)) {
        EnableGroup(*next, true);
        ShowGroup(*next);
    } else {
        guidedDone_ = true;
        ops_.SetControlText(ctl::DataGroupRadioGroup, "");
        ops_.EnableControl(ctl::SaveRunButton);
    }
    return true;
}

void TInputEditor::CancelGroup()
{
    if (!open_)
        return;
    const TGroupId id = *open_;
    // Back to the record as it was when the panel was shown; a value changed since
    // by someone else (the calculator's QH1 and QH2) stays.
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) {
        if (it->Scalar && rec_.*it->Scalar == it->New)
            rec_.*it->Scalar = it->Old;
        else if (it->Seasonal && IsSeason(it->Season) && (rec_.*it->Seasonal)[it->Season] == it->New)
            (rec_.*it->Seasonal)[it->Season] = it->Old;
        else if (it->Key && rec_.*it->Key == static_cast<std::uint8_t>(it->New))
            rec_.*it->Key = static_cast<std::uint8_t>(it->Old);
        else if (it->ShellKey && rec_.Shell.*it->ShellKey == static_cast<std::uint8_t>(it->New))
            rec_.Shell.*it->ShellKey = static_cast<std::uint8_t>(it->Old);
    }
    HideAllPanels();
    ops_.ShowControl(ctl::DataGroupPanel);
    ops_.SetControlText(ctl::DataGroupRadioGroup, "");
    if (id == TGroupId::DrainageSystem) {
        ops_.HideWindow(TWindow::Drain);
        ops_.HideWindow(TWindow::Alfa);
    }
    if (id == TGroupId::General) {
        // The selectors changed the keys at once; they show the keys put back.
        ShowKeysInSelectors();
        ShowKfFields();
        LayOutSeasons();
        for (const auto& g : InputGroups())
            if (g.Condition == TGroupCondition::Wells)
                EnableGroup(g.Id, rec_.Kp == 1);
        if (dataLoaded_ || savedOnce_[static_cast<int>(TGroupId::General)])
            FollowKeys();
    }
}

// ---------------------------------------------------------------- General data events

void TInputEditor::ApplyNs()
{
    const int index = SelectorIndex(GeneralField("Ns"), 0);
    if (index < 0)
        return;
    StoreKey(&R::Ns, index + 1);
    LayOutSeasons();
}

void TInputEditor::NsChanged()
{
    ApplyNs();
}

void TInputEditor::NsLeft()
{
    ApplyNs();
}

void TInputEditor::KdChanged()
{
    const int index = SelectorIndex(GeneralField("Kd"), 0);
    if (index < 0)
        return;
    const std::uint8_t old = rec_.Kd;
    StoreKey(&R::Kd, index);
    if (!dataLoaded_)
        return;
    for (const auto& g : InputGroups())
        if (g.Condition == TGroupCondition::Drains)
            EnableGroup(g.Id, rec_.Kd == 1);
    if (old == 0 && rec_.Kd == 1) {
        ops_.ShowMessage(msg::DrainsInstalled);
        FillFromRecord();
    }
}

void TInputEditor::KpChanged()
{
    const int index = SelectorIndex(GeneralField("Kp"), 0);
    if (index < 0)
        return;
    const std::uint8_t old = rec_.Kp;
    StoreKey(&R::Kp, index);
    for (const auto& g : InputGroups())
        if (g.Condition == TGroupCondition::Wells)
            EnableGroup(g.Id, rec_.Kp == 1);
    if (dataLoaded_ && old == 0 && rec_.Kp == 1) {
        ops_.ShowMessage(msg::WellsPresent);
        FillFromRecord();
    }
}

void TInputEditor::KfChanged()
{
    const int index = SelectorIndex(GeneralField("Kf"), 0);
    if (index < 0)
        return;
    StoreKey(&R::Kf, index);
    ShowKfFields();
}

void TInputEditor::KfLeft()
{
    KfChanged();
}

void TInputEditor::KyChanged()
{
    const int index = SelectorIndex(GeneralField("Ky"), 0);
    if (index == 1) {
        ops_.ShowMessage(msg::YearByYearHalts);
        StoreKey(&TShellFields::AnnualMode, 1);
        StoreKey(&R::Ky, 1);
    } else if (index == 0) {
        ops_.ShowMessage(msg::RunsUninterruptedly);
        StoreKey(&TShellFields::AnnualMode, 0);
        StoreKey(&R::Ky, 0);
    }
}

bool TInputEditor::NyRule()
{
    const std::string control = FieldControl(GeneralField("Ny"));
    const std::string text = ops_.GetControlText(control);
    if (text.find_first_not_of(" \t") == std::string::npos) {
        StoreKey(&R::Ny, 0); // the run's check reports it
        return true;
    }
    const auto years = ReadWholeNumber(text);
    if (!years) {
        ops_.ShowMessage(NotANumberMessage(text));
        return false;
    }
    if (*years > 99) {
        ops_.ShowMessage(msg::TooManyYears);
        ops_.SetControlText(control, "99");
        StoreKey(&R::Ny, 99);
        return false;
    }
    StoreKey(&R::Ny, *years < 1 ? 0 : static_cast<double>(*years));
    return true;
}

void TInputEditor::NyLeft()
{
    NyRule();
}

bool TInputEditor::MaxSalinityRule(const TFieldDef& f)
{
    const std::string control = FieldControl(f);
    const std::string text = ops_.GetControlText(control);
    const auto value = ReadFieldNumber(text);
    if (!value) {
        ops_.ShowMessage(msg::NotAValidReal(text));
        ops_.SetControlText(control, "8");
        return false;
    }
    if (*value < 0) {
        ops_.ShowMessage(msg::NegativeMaxSalinity);
        ops_.SetControlText(control, "8");
        return false;
    }
    ops_.SetControlText(control, PlainNumberText(*value));
    return true;
}

void TInputEditor::CaMaxLeft()
{
    MaxSalinityRule(GeneralField("CaMax"));
}

void TInputEditor::CbMaxLeft()
{
    MaxSalinityRule(GeneralField("CbMax"));
}

// ---------------------------------------------------------------- Drainage system buttons

void TInputEditor::DrainageEquationClicked()
{
    ops_.ShowWindow(TWindow::Drain);
    ops_.HideWindow(TWindow::Alfa);
}

void TInputEditor::DrainageCalculationsClicked()
{
    ops_.ShowWindow(TWindow::Alfa);
    ops_.HideWindow(TWindow::Drain);
}

} // namespace veltra
