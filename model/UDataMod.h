#pragma once
// The model input record and the data module that owns it.
//
// Water quantities are depths in m3 per season per m2 of the area named (m/season),
// salinities electric conductivities in dS/m, depths in m below the soil surface,
// durations in months. Seasonal arrays are indexed by the season number 1..4; only
// elements 1..Ns carry data.
#include <cstdint>
#include <string>
#include <vector>

#include "model/TGroupStore.h"
#include "model/TSeasonal.h"

namespace veltra {

// Bookkeeping of the window, the year-by-year series and the input reader, carried
// with the input record but not stored in the input file. During a run the engine
// writes two of them: the extension of FileName and RunStage.
struct TShellFields {
    std::string FileName;            // full path of the current input file
    std::string AnnualFileName;      // FileName when a save started the year-by-year procedure
    std::string AnnualStartFile;     // input file at the first save of a year-by-year series
    std::int32_t LineCount = 0;      // lines of the text file read last
    std::int32_t YearNr = 0;         // year counter of the year-by-year procedure
    std::uint8_t AnnualMode = 0;     // 1 while the year-by-year procedure is active
    std::uint8_t SavedKy = 0;        // Ky as last read or saved (put back on the Input page after a run)
    std::uint8_t SavedNy = 0;        // Ny likewise
    std::uint8_t OldLine1Layout = 0; // set while reading a first data line without Kp
    std::uint8_t RunStage = 0;       // 1: save started a run; 2: run marker written
    std::uint8_t SeriesEnded = 0;    // 1 once the series reached its end or was discontinued
};

struct TInputRecord {
    TShellFields Shell; // not stored in the input file

    // ---- Model input fields, in record order ----
    std::string Title1;   // first line of the input file
    std::string Title2;   // second line of the input file
    double Area = 0;      // ha, total area
    std::uint8_t Kd = 0;  // subsurface drains present
    std::uint8_t Kf = 0;  // farmers' responses
    std::uint8_t Kr = 0;  // rotation type 0..10
    std::uint8_t Krf = 0; // farmers may change the rotation type
    std::uint8_t Kp = 0;  // pumped wells present
    std::uint8_t Ns = 0;  // seasons per year 1..4
    std::uint8_t Ny = 0;  // years 1..99
    std::uint8_t Ky = 0;  // year-by-year calculation
    TSeasonal Ts;         // months
    TSeasonal A;          // fraction under irrigated group A crops
    TSeasonal B;          // fraction under irrigated group B crops
    TSeasonal RcA;        // 1 when the A crop is paddy
    TSeasonal RcB;        // 1 when the B crop is paddy
    TSeasonal Lc;         // canal percolation, per m2 total area
    TSeasonal Io;         // bypass, per m2 total area
    TSeasonal IaA;        // surface irrigation of A land, per m2 A land
    TSeasonal EpA;        // potential evapotranspiration of A land
    TSeasonal IaB;        // surface irrigation of B land, per m2 B land
    TSeasonal EpB;        // potential evapotranspiration of B land
    TSeasonal Pp;         // rainfall, per m2 total area
    TSeasonal EpU;        // potential evapotranspiration of U land
    TSeasonal FsA;        // storage efficiency, A land
    TSeasonal FsB;        // storage efficiency, B land
    TSeasonal FsU;        // storage efficiency of rain, U land
    TSeasonal Gi;         // groundwater inflow, per m2 total area
    TSeasonal Go;         // groundwater outflow, per m2 total area
    TSeasonal SiU;        // surface run-in into U land
    TSeasonal SoU;        // surface runoff from U land
    TSeasonal SoA;        // surface drainage from A land
    TSeasonal SoB;        // surface drainage from B land
    TSeasonal Gw;         // pumped groundwater, per m2 total area
    TSeasonal FAw;        // fraction of well water used on A land
    TSeasonal FBw;        // fraction of well water used on B land
    TSeasonal DAu;        // re-used drainage water on A land
    TSeasonal DBu;        // re-used drainage water on B land
    TSeasonal Frd;        // drain discharge reduction factor 0..1
    double Dr = 0;        // m, root zone thickness
    double Ptr = 0;       // total pore space, root zone
    double Dx = 0;        // m, transition zone thickness
    double Ptx = 0;       // total pore space, transition zone
    double Dq = 0;        // m, aquifer thickness
    double Ptq = 0;       // total pore space, aquifer
    double Per = 0;       // effective porosity, root zone
    double Flr = 0;       // leaching efficiency, root zone
    double Pex = 0;       // effective porosity, transition zone
    double Flx = 0;       // leaching efficiency, transition zone
    double Peq = 0;       // effective porosity, aquifer
    double Flq = 0;       // leaching efficiency, aquifer
    double Cx0 = 0;       // dS/m, initial transition zone salinity
    double Cq0 = 0;       // dS/m, initial aquifer salinity
    double Cic = 0;       // dS/m, canal water
    double Ch = 0;        // dS/m, incoming groundwater
    double Cp = 0;        // dS/m, rain water
    double CA0 = 0;       // dS/m, initial root zone A land
    double CB0 = 0;       // dS/m, initial root zone B land
    double CU0 = 0;       // dS/m, initial root zone U land
    double Dw0 = 0;       // m, initial water table depth
    double Dc = 0;        // m, critical depth for capillary rise
    double CAmax = 0;     // dS/m, farmers abandon A land above it
    double CBmax = 0;     // dS/m, farmers abandon B land above it
    double Dd = 0;        // m, drain depth (Kd = 1)
    double QH1 = 0;       // m/day per m, drain reaction factor
    double QH2 = 0;       // m/day per m2, drain reaction factor
    double CxA0 = 0;      // dS/m, transition zone above drain level (Kd = 1)
    double CxB0 = 0;      // dS/m, transition zone below drain level (Kd = 1)
};

// The data module: one input record, the text-line lists last loaded and the
// output-group store. Created once by the program; tests make their own.
class TDataMod {
public:
    TInputRecord Rec;
    TGroupStore Groups;
    std::vector<std::string> ResultLines;  // result, frequency or group table lines
    std::vector<std::string> ErrorLines;   // Error.lst as last loaded
    std::vector<std::string> WarningLines; // warning.lst as last loaded
};

// The keys a fresh data set starts from (the Input page shown with no file opened).
void SetFreshInputDefaults(TInputRecord& rec);

} // namespace veltra
