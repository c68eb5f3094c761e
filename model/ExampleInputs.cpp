#include "model/ExampleInputs.h"

#include <initializer_list>

#include "model/InputFile.h"

namespace veltra {

namespace {

void Set(TSeasonal& a, std::initializer_list<double> values)
{
    int s = 1;
    for (double v : values)
        a[s++] = v;
}

} // namespace

TInputRecord FieldExampleRecord() // NOLINT(readability-function-size): the example, value by value
{
    TInputRecord r;
    SetFreshInputDefaults(r);
    r.Title1 = "Veltra example: two seasons, subsurface drains, full rotation";
    r.Title2 = "Editor defaults, drains at 1.5 m";
    r.Area = 100;
    r.Ny = 10;
    r.CAmax = 8;
    r.CBmax = 8;
    Set(r.Ts, {7, 5});
    Set(r.A, {0.5, 0.4});
    Set(r.B, {0.3, 0.2});
    Set(r.RcA, {0, 0});
    Set(r.RcB, {0, 0});
    Set(r.Lc, {0.1, 0.1});
    Set(r.Io, {0.1, 0.1});
    Set(r.IaA, {0.5, 0.4});
    Set(r.IaB, {0.3, 0.2});
    Set(r.Pp, {0.20, 0.05});
    Set(r.EpA, {1.00, 0.60});
    Set(r.EpB, {0.80, 0.50});
    Set(r.EpU, {0.60, 0.40});
    Set(r.FsA, {0.7, 0.7});
    Set(r.FsB, {0.7, 0.7});
    Set(r.FsU, {0.8, 0.8});
    Set(r.Gi, {0.1, 0.05});
    Set(r.Go, {0.08, 0.03});
    Set(r.SiU, {0.1, 0.05});
    Set(r.SoU, {0.08, 0.03});
    Set(r.SoA, {0.1, 0.05});
    Set(r.SoB, {0.08, 0.03});
    Set(r.Gw, {0, 0});
    Set(r.FAw, {0, 0});
    Set(r.FBw, {0, 0});
    Set(r.DAu, {0.05, 0.03});
    Set(r.DBu, {0, 0});
    Set(r.Frd, {0.8, 0.0});
    r.Dr = 0.8;
    r.Ptr = 0.4;
    r.Dx = 5;
    r.Ptx = 0.5;
    r.Dq = 20;
    r.Ptq = 0.6;
    r.Per = 0.05;
    r.Flr = 0.8;
    r.Pex = 0.06;
    r.Flx = 0.9;
    r.Peq = 0.07;
    r.Flq = 1.0;
    r.Cx0 = 10;
    r.Cq0 = 15;
    r.Cic = 2;
    r.Ch = 8;
    r.Cp = 0;
    r.CA0 = 5;
    r.CB0 = 5;
    r.CU0 = 5;
    r.Dw0 = 0.8;
    r.Dc = 1.5;
    // The editor's 0.8 m would put the drains at the bottom of the root zone.
    r.Dd = 1.5;
    r.QH1 = 0.003;
    r.QH2 = 0.001;
    r.CxA0 = 8;
    r.CxB0 = 12;
    return r;
}

TInputRecord WellsExampleRecord() // NOLINT(readability-function-size): the example, value by value
{
    TInputRecord r;
    r.Title1 = "Veltra example: four seasons, pumped wells, no drains";
    r.Title2 = "Wells supplement the canal water of A and B land; rotation key 0";
    r.Area = 250;
    r.Kd = 0;
    r.Kp = 1;
    r.Kf = 0;
    r.Kr = 0;
    r.Krf = 0;
    r.Ns = 4;
    r.Ny = 10;
    r.Ky = 0;
    r.CAmax = 8;
    r.CBmax = 10;
    Set(r.Ts, {3, 3, 3, 3});
    Set(r.A, {0.4, 0.4, 0.4, 0.4});
    Set(r.B, {0.3, 0.3, 0.3, 0.3});
    Set(r.RcA, {0, 0, 0, 0});
    Set(r.RcB, {0, 0, 0, 0});
    Set(r.Lc, {0.05, 0.05, 0.05, 0.05});
    Set(r.Io, {0.02, 0.02, 0.02, 0.02});
    // A wet season, a hot dry one, a mild one and a cool one.
    Set(r.IaA, {0.10, 0.55, 0.35, 0.20});
    Set(r.IaB, {0.05, 0.45, 0.30, 0.15});
    Set(r.Pp, {0.30, 0.05, 0.15, 0.10});
    Set(r.EpA, {0.35, 0.60, 0.45, 0.25});
    Set(r.EpB, {0.30, 0.50, 0.40, 0.20});
    Set(r.EpU, {0.30, 0.40, 0.30, 0.15});
    Set(r.FsA, {0.75, 0.75, 0.75, 0.75});
    Set(r.FsB, {0.70, 0.70, 0.70, 0.70});
    Set(r.FsU, {0.80, 0.80, 0.80, 0.80});
    Set(r.Gi, {0.02, 0.02, 0.02, 0.02});
    Set(r.Go, {0.04, 0.04, 0.04, 0.04});
    Set(r.SiU, {0.0, 0.0, 0.0, 0.0});
    Set(r.SoU, {0.02, 0.0, 0.01, 0.0});
    Set(r.SoA, {0.02, 0.01, 0.01, 0.01});
    Set(r.SoB, {0.02, 0.01, 0.01, 0.01});
    // Pumping follows the irrigation demand; 20 % of it leaves the area. With
    // these rates the water table settles between about 1.7 and 2.4 m.
    Set(r.Gw, {0.06, 0.14, 0.11, 0.04});
    Set(r.FAw, {0.45, 0.45, 0.45, 0.45});
    Set(r.FBw, {0.35, 0.35, 0.35, 0.35});
    r.Dr = 1.0;
    r.Ptr = 0.45;
    r.Dx = 4.0;
    r.Ptx = 0.40;
    r.Dq = 15.0;
    r.Ptq = 0.35;
    r.Per = 0.08;
    r.Flr = 0.8;
    r.Pex = 0.10;
    r.Flx = 0.9;
    r.Peq = 0.12;
    r.Flq = 1.0;
    r.Cx0 = 6;
    r.Cq0 = 5;
    r.Cic = 1.2;
    r.Ch = 3;
    r.Cp = 0;
    r.CA0 = 4;
    r.CB0 = 4;
    r.CU0 = 6;
    r.Dw0 = 2.0;
    r.Dc = 1.8;
    return r;
}

const std::string& FieldExampleText()
{
    static const std::string text = InputFileText(FieldExampleRecord());
    return text;
}

const std::string& WellsExampleText()
{
    static const std::string text = InputFileText(WellsExampleRecord());
    return text;
}

} // namespace veltra
