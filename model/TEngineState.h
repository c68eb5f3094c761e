#pragma once
// The engine's single state record and the year-end carry of the year-by-year
// procedure. Kept below the engine so that the observers of a run (result files,
// tables) can read the state without depending on the engine.
#include <cstdint>
#include <string>

#include "model/TSeasonal.h"

namespace veltra {

// Why the model stopped a run (or, year by year, why the series cannot go on).
enum class TStopCause : std::uint8_t {
    None,
    AquiferBottom,  // the water table fell below the bottom of the aquifer
    IterationBound, // the water-table iteration did not meet its balance
    OutOfRange      // a season gave a value that is not a finite number
};

// What the water and salt balances of one season give.
struct TSeasonResults {
    double SDA = 0, SDB = 0, SRO = 0;          // corrected surface drainage and runoff
    double EaA = 0, EaB = 0, EaU = 0;          // actual evapotranspiration
    double RrA = 0, RrB = 0, RrU = 0, RrT = 0; // capillary rise
    double LrA = 0, LrB = 0, LrU = 0, LrT = 0; // percolation
    double Gd = 0, Ga = 0, Gb = 0;             // subsurface drainage
    double EfA = 0, EfB = 0, Eft = 0;          // irrigation efficiencies
    double JsA = 0, JsB = 0;                   // irrigation sufficiencies
    double It = 0, Is = 0;                     // total and canal irrigation
    double Ci = 0, Cd = 0, Cw = 0;             // irrigation, drainage and well water salinity
};

// Where the water-table iteration of the last season ended: the depth it started
// from, the change of stored water it reached and the net recharge of the ground
// water there, and the same two one step before (equal to them when no step was
// made). Set only when the iteration met its balance.
struct TIterationEnd {
    double StartDw = 0, StorageChange = 0, NetRecharge = 0;
    double StorageChangeBefore = 0, NetRechargeBefore = 0;
};

// The progress texts of the busy box, each shown once per call.
struct TProgressShown {
    bool StillBusyShown = false, AlmostDoneShown = false;
};

// Each runtime message is written once per call (the surface and re-use messages
// once per season number); the correction itself is made every time.
struct TWarnedFlags {
    bool RootZoneWarned = false, WellsWarned = false;
    bool KrChangeWarned = false, FarmersWarned = false;
    bool WarningHeaderWritten = false;
    TSeasonalFlags SurfaceWarned, ReuseWarned;
};

struct TEngineState {
    // ---- Counters and keys ----
    std::int32_t RunYears = 0;    // years of this call (Ny, or 1 year by year)
    std::int32_t StepNr = 0;      // season counter of this call; 0 for the year-0 block
    std::int32_t SeasonNr = 0;    // season of the current step, 1..Ns
    std::int32_t YearsDone = 0;   // years completed by earlier calls of a series
    std::int32_t Kr = 0;          // rotation key in force
    std::int32_t KrInit = 0;      // initial (reference) rotation key
    std::int32_t KrFirstYear = 0; // KrInit of the first year of a series

    // ---- Seasonal arrays (1..4) ----
    TSeasonal A, B, U;            // area fractions in force
    TSeasonal AInput, BInput;     // area fractions as entered
    TSeasonal Ts;                 // months
    TSeasonal Io, Lc;             // bypass and canal percolation, per m2 total area
    TSeasonal IaAInput, IaBInput; // surface irrigation without re-use and well water
    TSeasonal IaA, IaB;           // total field irrigation of A and B land
    TSeasonal GwInput;            // well pumping per m2 total area
    TSeasonal Gw;                 // well pumping per m2 irrigated area
    TSeasonal DAu, DBu, FAw, FBw, Gi, Go, Pp, SoA, SoB, SiU, SoU, FsA, FsB, FsU, Frd;
    TSeasonal EpUStart; // the record's EpU at the start of the season

    // ---- Scalars carried from season to season ----
    double Dw = 0;                            // m, water table depth (negative above the surface)
    double DwPrev = 0;                        // m, Dw at the start of the season
    double Dw0 = 0;                           // m, initial depth as entered
    double CrA = 0, CrB = 0, CrU = 0, C0 = 0; // root zone salinities (C0 is C0*), dS/m
    double CrAStart = 0, CrBStart = 0, CrUStart = 0, C0Start = 0;
    double Cxa = 0, Cxb = 0, Cxf = 0; // transition zone above, below drains, whole
    double Cqf = 0;                   // aquifer
    double Zs = 0;                    // m.dS/m, salt stored above the surface
    double Cpond = 0, CpondPrev = 0;  // ponded water salinity, this and the last season
    double Ac = 0, Bc = 0, Uc = 0;    // permanent area fractions
    double AcPrev = 0, BcPrev = 0, UcPrev = 0;
    double dAc = 0, dBc = 0, dUc = 0;
    double CAmax = 0, CBmax = 0, Dc = 0, Cic = 0, Ch = 0, Cp = 0;

    // ---- Per-season results of the balances ----
    // Recomputed every season and shown in its record; the year-0 block shows them
    // cleared. A land type with Fs = 0 keeps its Ea and Rr from the season before.
    TSeasonResults Season;
    TIterationEnd Iteration;

    // ---- One-shot flags ----
    TProgressShown Progress;     // cleared at the start of every call
    TWarnedFlags Warned;         // cleared at the start of every call and with the main window
    bool AreaAbandoned = false;  // farmers gave up salty land: the rotation key prefers 1
    bool WaterTableStop = false; // set by every stop, as the window reads it
    TStopCause StopCause = TStopCause::None;

    // Most 1 mm steps of the water-table iteration in one season: a record the input
    // check would refuse could otherwise keep it going for ever. Tests lower it.
    std::int64_t WaterTableStepLimit = 1'000'000;

    // Path of the input file at the save that started the current run; the result
    // and frequency files of a year-by-year series are named after it.
    std::string RunFirstFileName;
};

struct TAnnualCarry {
    std::uint8_t RunStage = 0;
    double Dw = 0;
    double CrA = 0, CrB = 0, CrU = 0;
    double Cxa = 0, Cxb = 0, Cxf = 0;
    double Cqf = 0;
    double Zs = 0;
    double Ac = 0, Bc = 0, Uc = 0;
    double Dd = 0;
    std::uint8_t Kd = 0;
    std::uint8_t Ky = 0;
    std::uint8_t YearsDone = 0;
};

} // namespace veltra
