#include "shell/InputGroups.h"

#include "model/InputCheck.h"
#include "model/TVeltraError.h"
#include "model/ValueTests.h"

namespace veltra {

namespace {

using R = TInputRecord;

TFieldDef Seasonal(const char* symbol, const char* label, TSeasonal R::*field, TLand land, const char* d1,
                   const char* d2 = nullptr)
{
    TFieldDef f{symbol, label};
    f.Seasonal = field;
    f.Land = land;
    f.Default1 = d1;
    f.Default2 = d2;
    return f;
}

TFieldDef Scalar(const char* symbol, const char* label, double R::*field, const char* d1, TLand land = TLand::Any,
                 TKdRule kd = TKdRule::Always)
{
    TFieldDef f{symbol, label};
    f.Scalar = field;
    f.Land = land;
    f.Kd = kd;
    f.Default1 = d1;
    return f;
}

TFieldDef KeySelector(const char* symbol, const char* label, std::uint8_t R::*key, TItems items, const char* d1)
{
    TFieldDef f{symbol, label, TFieldKind::Selector};
    f.Key = key;
    f.Items = items;
    f.Default1 = d1;
    return f;
}

TFieldDef RiceSelector(const char* symbol, const char* label, TSeasonal R::*field, TLand land)
{
    TFieldDef f{symbol, label, TFieldKind::Selector};
    f.Seasonal = field;
    f.Land = land;
    f.Items = TItems::NoYes;
    f.Default1 = "no";
    return f;
}

TFieldDef WellUse(const char* symbol, const char* label, TSeasonal R::*field, TLand land)
{
    TFieldDef f = Seasonal(symbol, label, field, land, "0");
    f.OnlyWithPumping = true;
    return f;
}

// The groups' names, labels, defaults, test messages and save messages.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
std::vector<TGroupDef> MakeGroups() // NOLINT(readability-function-size): the 22 groups as data
{
    using G = TGroupId;
    using C = TGroupCondition;
    TFieldDef ny{"Ny", "Number of years (Ny, 1 to 99)", TFieldKind::Whole};
    ny.Key = &R::Ny;
    ny.Default1 = "10";
    return {
        {G::General,
         "GeneralData",
         "General data",
         C::Always,
         {Scalar("Area", "Total area (ha)", &R::Area, "100"),
          KeySelector("Ns", "Number of seasons per year (Ns)", &R::Ns, TItems::Seasons, "2"),
          KeySelector("Kd", "Subsurface drainage system (Kd)", &R::Kd, TItems::NoYes, "yes"),
          KeySelector("Kp", "Pumped wells (Kp)", &R::Kp, TItems::NoYes, "no"),
          KeySelector("Kf", "Farmers' responses (Kf)", &R::Kf, TItems::NoYes, "no"),
          KeySelector("Kr", "Rotation type (Kr)", &R::Kr, TItems::RotationKeys, "4"),
          KeySelector("Krf", "Farmers may change the rotation type (Krf)", &R::Krf, TItems::NoYes, "no"), ny,
          Scalar("CaMax", "Maximum root-zone salinity of A land (CaMax, dS/m)", &R::CAmax, "8"),
          Scalar("CbMax", "Maximum root-zone salinity of B land (CbMax, dS/m)", &R::CBmax, "8"),
          KeySelector("Ky", "Yearly calculations with input changes (Ky)", &R::Ky, TItems::NoYes, "no")},
         {},
         "The general data were saved.",
         nullptr},
        {G::SeasonDurations,
         "SeasonDurations",
         "Season durations",
         C::Always,
         {Seasonal("Ts", "Duration of the season (Ts, months)", &R::Ts, TLand::Any, "7", "5")},
         EditorValueTests("SeasonDurations"),
         "The seasonal duration data were saved.",
         nullptr},
        {G::IrrigatedAreas,
         "IrrigatedAreas",
         "Irrigated areas",
         C::Always,
         {Seasonal("A", "Area fraction under group A crops (A)", &R::A, TLand::Any, "0.5", "0.4"),
          Seasonal("B", "Area fraction under group B crops (B)", &R::B, TLand::Any, "0.3", "0.2")},
         EditorValueTests("IrrigatedAreas"),
         "The area fraction data were saved.",
         nullptr},
        {G::RiceCropping,
         "RiceCropping",
         "Rice cropping",
         C::Always,
         {RiceSelector("RcA", "Group A crop is rice (RcA)", &R::RcA, TLand::A),
          RiceSelector("RcB", "Group B crop is rice (RcB)", &R::RcB, TLand::B)},
         {},
         "The rice cropping data were saved.",
         nullptr},
        {G::CanalLosses,
         "CanalLosses",
         "Canal losses/bypass",
         C::Always,
         {Seasonal("Lc", "Losses (Lc, m/season)", &R::Lc, TLand::Any, "0.1"),
          Seasonal("Io", "Bypass (Io, m/season)", &R::Io, TLand::Any, "0.1")},
         EditorValueTests("CanalLosses"),
         "The data on canal losses and bypass were saved.",
         nullptr},
        {G::IrrigationQuantity,
         "IrrigationQuantity",
         "Irrigation quantity",
         C::Always,
         {Seasonal("IaA", "Irrigation of A land (IaA, m/season)", &R::IaA, TLand::A, "0.5", "0.4"),
          Seasonal("IaB", "Irrigation of B land (IaB, m/season)", &R::IaB, TLand::B, "0.3", "0.2")},
         EditorValueTests("IrrigationQuantity"),
         "The data on irrigation applications were saved.",
         nullptr},
        {G::ClimaticData,
         "ClimaticData",
         "Climatic data",
         C::Always,
         {Seasonal("Pp", "Rainfall (Pp, m/season)", &R::Pp, TLand::Any, ""),
          Seasonal("EpA", "Potential evaporation of A land (EpA, m/season)", &R::EpA, TLand::A, ""),
          Seasonal("EpB", "Potential evaporation of B land (EpB, m/season)", &R::EpB, TLand::B, ""),
          Seasonal("EpU", "Potential evaporation of unirrigated land (EpU, m/season)", &R::EpU, TLand::U, "")},
         EditorValueTests("ClimaticData"),
         "The climatic data were saved.",
         nullptr},
        {G::StorageEfficiency,
         "StorageEfficiency",
         "Storage efficiency",
         C::Always,
         {Seasonal("FsA", "Storage efficiency of A land (FsA)", &R::FsA, TLand::A, "0.7"),
          Seasonal("FsB", "Storage efficiency of B land (FsB)", &R::FsB, TLand::B, "0.7"),
          Seasonal("FsU", "Storage efficiency of unirrigated land (FsU)", &R::FsU, TLand::U, "0.8")},
         EditorValueTests("StorageEfficiency"),
         "The data on storage efficiency were saved.",
         nullptr},
        {G::SurfaceRunInOff,
         "SurfaceRunInOff",
         "Surface run-in/off",
         C::Unirrigated,
         {Seasonal("SiU", "Surface run-in into unirrigated land (SiU, m/season)", &R::SiU, TLand::U, "0.1", "0.05"),
          Seasonal("SoU", "Surface run-off from unirrigated land (SoU, m/season)", &R::SoU, TLand::U, "0.08", "0.03")},
         EditorValueTests("SurfaceRunInOff"),
         "The data on surface run-in and run-off from unrrigated land were saved.",
         nullptr},
        {G::SurfaceDrainage,
         "SurfaceDrainage",
         "Surface drainage",
         C::Always,
         {Seasonal("SoA", "Surface drainage from A land (SoA, m/season)", &R::SoA, TLand::A, "0.1", "0.05"),
          Seasonal("SoB", "Surface drainage from B land (SoB, m/season)", &R::SoB, TLand::B, "0.08", "0.03")},
         EditorValueTests("SurfaceDrainage"),
         "The data on surface drainage from irrigated land were saved.",
         nullptr},
        {G::GroundWater,
         "GroundWater",
         "Ground water in/out",
         C::Always,
         {Seasonal("Gi", "Ground water inflow (Gi, m/season)", &R::Gi, TLand::Any, "0.1", "0.05"),
          Seasonal("Go", "Ground water outflow (Go, m/season)", &R::Go, TLand::Any, "0.08", "0.03")},
         EditorValueTests("GroundWater"),
         "The data on ground water flow were saved.",
         nullptr},
        {G::PumpingWells,
         "PumpingWells",
         "Pumping from wells",
         C::Wells,
         {Seasonal("Gw", "Pumping from wells (Gw, m/season)", &R::Gw, TLand::Any, "0")},
         EditorValueTests("PumpingWells"),
         "The data on pumping from wells and use for irrigation were saved.",
         nullptr},
        {G::UseWellWater,
         "UseWellWater",
         "Use of well water",
         C::Wells,
         {WellUse("FAw", "Fraction of well water used on A land (FAw)", &R::FAw, TLand::A),
          WellUse("FBw", "Fraction of well water used on B land (FBw)", &R::FBw, TLand::B)},
         EditorValueTests("UseWellWater"),
         "The data on use of well water for irrigation were saved.",
         nullptr},
        {G::SoilThickness,
         "SoilThickness",
         "Thickness soil layers",
         C::Always,
         {Scalar("Dr", "Root zone (Dr, m)", &R::Dr, "0.8"), Scalar("Dx", "Transition zone (Dx, m)", &R::Dx, "5"),
          Scalar("Dq", "Aquifer (Dq, m)", &R::Dq, "20")},
         EditorValueTests("SoilThickness"),
         "The data on thickness of soil layers were saved.",
         nullptr},
        {G::SoilPorosity,
         "SoilPorosity",
         "Porosity soil layers",
         C::Always,
         {Scalar("Ptr", "Total porosity of the root zone (Ptr)", &R::Ptr, "0.4"),
          Scalar("Ptx", "Total porosity of the transition zone (Ptx)", &R::Ptx, "0.5"),
          Scalar("Ptq", "Total porosity of the aquifer (Ptq)", &R::Ptq, "0.6"),
          Scalar("Per", "Drainable porosity of the root zone (Per)", &R::Per, "0.05"),
          Scalar("Pex", "Drainable porosity of the transition zone (Pex)", &R::Pex, "0.06"),
          Scalar("Peq", "Drainable porosity of the aquifer (Peq)", &R::Peq, "0.07")},
         EditorValueTests("SoilPorosity"),
         "The data on soil porosity were saved.",
         nullptr},
        {G::LeachingEfficiency,
         "LeachingEfficiency",
         "Leaching efficiency",
         C::Always,
         {Scalar("Flr", "Leaching efficiency of the root zone (Flr)", &R::Flr, "0.8"),
          Scalar("Flx", "Leaching efficiency of the transition zone (Flx)", &R::Flx, "0.9"),
          Scalar("Flq", "Leaching efficiency of the aquifer (Flq)", &R::Flq, "1.0")},
         EditorValueTests("LeachingEfficiency"),
         "The data on leaching efficiency were saved.",
         nullptr},
        {G::DrainageSystem,
         "DrainageSystem",
         "Drainage system",
         C::Drains,
         {Scalar("Dd", "Drain depth (m)", &R::Dd, "0.8"),
          Scalar("QH1", "Drainage reaction factor QH1 (m/day per m)", &R::QH1, "0.003"),
          Scalar("QH2", "Drainage reaction factor QH2 (m/day per m2)", &R::QH2, "0.001")},
         // The soil layers come before this group, so Dr and Dx are known here.
         EditorValueTests("DrainageSystem"),
         "The drainage data were saved.",
         nullptr},
        {G::DrainageControl,
         "DrainageControl",
         "Drainage control",
         C::Drains,
         {Seasonal("Frd", "Seasonal drainage control factor to reduce drain discharge (0<=fraction<=1)    ", &R::Frd,
                   TLand::Any, "0.8", "0.0")},
         EditorValueTests("DrainageControl"),
         "The data on drainage control were saved.",
         nullptr},
        {G::DrainageReuse,
         "DrainageReuse",
         "Reuse drainage water",
         C::Drains,
         {Seasonal("DAu", "Drainage water re-used on A land (DAu, m/season)", &R::DAu, TLand::Any, "0.05", "0.03"),
          Seasonal("DBu", "Drainage water re-used on B land (DBu, m/season)", &R::DBu, TLand::Any, "0")},
         EditorValueTests("DrainageReuse"),
         "The data on drainage re-use were saved.",
         nullptr},
        {G::SoilSalinity,
         "SoilSalinity",
         "Initial soil salinity",
         C::Always,
         {Scalar("CA0", "Root zone of A land (CA0, dS/m)", &R::CA0, "5", TLand::A),
          Scalar("CB0", "Root zone of B land (CB0, dS/m)", &R::CB0, "5", TLand::B),
          Scalar("CU0", "Root zone of unirrigated land (CU0, dS/m)", &R::CU0, "5", TLand::U),
          Scalar("CxA0", "Transition zone above drain level (CxA0, dS/m)", &R::CxA0, "8", TLand::Any, TKdRule::Drains),
          Scalar("CxB0", "Transition zone below drain level (CxB0, dS/m)", &R::CxB0, "12", TLand::Any, TKdRule::Drains),
          Scalar("Cx0", "Transition zone (Cx0, dS/m)", &R::Cx0, "10", TLand::Any, TKdRule::NoDrains),
          Scalar("Cq0", "Aquifer (Cq0, dS/m)", &R::Cq0, "15")},
         EditorValueTests("SoilSalinity"),
         "The data on soil salinity were saved.",
         nullptr},
        {G::WaterSalinity,
         "WaterSalinity",
         "Initial water salinity",
         C::Always,
         {Scalar("Cic", "Irrigation water (Cic, dS/m)", &R::Cic, "2"),
          Scalar("Ch", "Incoming ground water (Ch, dS/m)", &R::Ch, "8"),
          Scalar("Cp", "Rainfall (Cp, dS/m)", &R::Cp, "0")},
         EditorValueTests("WaterSalinity"),
         "The data on water salinity were saved.",
         "Some data are inorrect."},
        {G::WaterTable,
         "WaterTable",
         "Depth watertable and capillary rise",
         C::Always,
         {Scalar("Dw0", "Initial depth of the water table (Dw0, m)", &R::Dw0, "0.8"),
          Scalar("Dc", "Critical depth for capillary rise (Dc, m)", &R::Dc, "1.5")},
         {},
         "All data have been entered. They may be reviewed or the \"save / run\" button can be used to create an "
         "input file and to run the calculations.",
         nullptr},
    };
}

bool Applies(TGroupCondition c, const TInputRecord& rec, double unirrigatedTotal)
{
    switch (c) {
    case TGroupCondition::Always: return true;
    case TGroupCondition::Wells: return rec.Kp == 1;
    case TGroupCondition::Drains: return rec.Kd == 1;
    case TGroupCondition::Unirrigated: return unirrigatedTotal > 0.0001;
    }
    return true;
}

// A fraction smaller than this is no land: sums of typed decimals leave such crumbs.
constexpr double PresenceThreshold = 1e-9;

} // namespace

bool TGroupDef::IsSeasonal() const
{
    for (const auto& f : Fields)
        if (f.IsSeasonal())
            return true;
    return false;
}

const TFieldDef* TGroupDef::Field(const std::string& symbol) const
{
    for (const auto& f : Fields)
        if (symbol == f.Symbol)
            return &f;
    return nullptr;
}

const std::vector<TGroupDef>& InputGroups()
{
    static const std::vector<TGroupDef> groups = [] {
        auto g = MakeGroups();
        for (std::size_t i = 0; i < g.size(); ++i)
            if (static_cast<std::size_t>(g[i].Id) != i)
                throw TVeltraError(TErrorKind::Internal, "input groups out of order");
        return g;
    }();
    return groups;
}

const TGroupDef& Group(TGroupId id)
{
    return InputGroups().at(static_cast<std::size_t>(id));
}

const std::vector<std::string>& SelectorItems(TItems items)
{
    static const std::vector<std::string> none;
    static const std::vector<std::string> noYes{"no", "yes"};
    static const std::vector<std::string> seasons{"1", "2", "3", "4"};
    static const std::vector<std::string> rotation{"0", "1", "2", "3", "4", "5", "6", "7", "10"};
    switch (items) {
    case TItems::None: return none;
    case TItems::NoYes: return noYes;
    case TItems::Seasons: return seasons;
    case TItems::RotationKeys: return rotation;
    }
    return none;
}

std::optional<TGroupId> NextGuidedGroup(TGroupId id, const TInputRecord& rec, double unirrigatedTotal)
{
    for (int i = static_cast<int>(id) + 1; i < GroupCount; ++i) {
        const auto next = static_cast<TGroupId>(i);
        if (Applies(Group(next).Condition, rec, unirrigatedTotal))
            return next;
    }
    return std::nullopt;
}

bool LandPresent(const TInputRecord& rec, TLand land, int season)
{
    switch (land) {
    case TLand::Any: return true;
    case TLand::A: return rec.A[season] > PresenceThreshold;
    case TLand::B: return rec.B[season] > PresenceThreshold;
    case TLand::U: return 1.0 - rec.A[season] - rec.B[season] > PresenceThreshold;
    }
    return true;
}

bool LandPresentInAnySeason(const TInputRecord& rec, TLand land)
{
    const int ns = rec.Ns < 1 ? 1 : (rec.Ns > 4 ? 4 : rec.Ns);
    for (int s = 1; s <= ns; ++s)
        if (LandPresent(rec, land, s))
            return true;
    return false;
}

std::string PanelControl(const TGroupDef& g)
{
    return std::string(g.Key) + "_Panel";
}

std::string RadioControl(const TGroupDef& g)
{
    return std::string(g.Key) + "_RadioButton";
}

std::string SaveButtonControl(const TGroupDef& g)
{
    return std::string(g.Key) + "_Save_Button";
}

std::string CancelButtonControl(const TGroupDef& g)
{
    return std::string(g.Key) + "_Cancel_Button";
}

std::string SeasonLabelControl(const TGroupDef& g, int season)
{
    return std::string(g.Key) + "_Season" + std::to_string(season) + "_Label";
}

std::string FieldControl(const TFieldDef& f, int season)
{
    std::string name = f.Symbol;
    if (f.IsSeasonal())
        name += std::to_string(season);
    return name + (f.Kind == TFieldKind::Selector ? "_ComboBox" : "_Edit");
}

std::string DefaultText(const TFieldDef& f, int season)
{
    if (!f.IsSeasonal() || season == 1)
        return f.Default1;
    if (season == 2)
        return f.Default2 ? f.Default2 : f.Default1;
    // Seasons beyond the fresh Ns = 2.
    return f.Kind == TFieldKind::Selector ? SelectorItems(f.Items).front() : "n.a.";
}

std::string FieldLabelControl(const TFieldDef& f)
{
    return std::string(f.Symbol) + "_Label";
}

std::vector<TControlInfo> EditorControlList()
{
    std::vector<TControlInfo> list;
    // The window's own: the action and the button " Save / run ".
    list.push_back({ctl::InputSave, TControlKind::Button, " Save / run ", {}, "", 0, 0});
    list.push_back({ctl::SaveRunButton, TControlKind::Button, " Save / run ", {}, "", 0, 0});
    list.push_back({ctl::DataGroupPanel, TControlKind::Panel, "Select data group", {}, "", 0, 0});
    std::vector<std::string> captions;
    for (const auto& g : InputGroups())
        captions.emplace_back(g.Caption);
    list.push_back(
        {ctl::DataGroupRadioGroup, TControlKind::RadioGroup, "Select data group", captions, ctl::DataGroupPanel, 0, 0});
    for (const auto& g : InputGroups())
        list.push_back({RadioControl(g),
                        TControlKind::RadioButton,
                        g.Caption,
                        {},
                        ctl::DataGroupPanel,
                        static_cast<int>(g.Id),
                        0});
    for (const auto& g : InputGroups()) {
        const std::string panel = PanelControl(g);
        list.push_back({panel, TControlKind::Panel, g.Caption, {}, "", 0, 0});
        if (g.IsSeasonal())
            for (int s = 1; s <= 4; ++s)
                list.push_back(
                    {SeasonLabelControl(g, s), TControlKind::Label, "Season " + std::to_string(s), {}, panel, 0, s});
        int row = 1;
        for (const auto& f : g.Fields) {
            const auto kind = f.Kind == TFieldKind::Selector ? TControlKind::ComboBox : TControlKind::Edit;
            const auto& items = SelectorItems(f.Items);
            list.push_back({FieldLabelControl(f), TControlKind::Label, f.Label, {}, panel, row, 0});
            if (f.IsSeasonal()) {
                for (int s = 1; s <= 4; ++s)
                    list.push_back({FieldControl(f, s), kind, DefaultText(f, s), items, panel, row, s});
            } else {
                list.push_back({FieldControl(f), kind, f.Default1, items, panel, row, 1});
            }
            ++row;
        }
        if (g.Id == TGroupId::DrainageSystem) {
            list.push_back({ctl::DrainageEquationButton, TControlKind::Button, "Drainage equation", {}, panel, row, 0});
            list.push_back(
                {ctl::DrainageCalculationsButton, TControlKind::Button, "Drainage calculations", {}, panel, row, 1});
            ++row;
        }
        list.push_back({SaveButtonControl(g), TControlKind::Button, "Save group", {}, panel, row, 0});
        list.push_back({CancelButtonControl(g), TControlKind::Button, "Cancel", {}, panel, row, 1});
    }
    return list;
}

} // namespace veltra
