#include "model/InputFields.h"

namespace veltra {

namespace {

using R = TInputRecord;

const TInputField Fields[] = {
    {"Kd", nullptr, nullptr, &R::Kd, false, true},
    {"Ns", nullptr, nullptr, &R::Ns, false, true},
    {"Ky", nullptr, nullptr, &R::Ky, false, true},
    {"Area", &R::Area},
    {"Kf", nullptr, nullptr, &R::Kf},
    {"Kr", nullptr, nullptr, &R::Kr},
    {"Krf", nullptr, nullptr, &R::Krf},
    {"Kp", nullptr, nullptr, &R::Kp},
    {"Ny", nullptr, nullptr, &R::Ny},
    {"CAmax", &R::CAmax},
    {"CBmax", &R::CBmax},
    {"Ts", nullptr, &R::Ts},
    {"A", nullptr, &R::A},
    {"B", nullptr, &R::B},
    {"RcA", nullptr, &R::RcA},
    {"RcB", nullptr, &R::RcB},
    {"Lc", nullptr, &R::Lc},
    {"Io", nullptr, &R::Io},
    {"IaA", nullptr, &R::IaA},
    {"IaB", nullptr, &R::IaB},
    {"Pp", nullptr, &R::Pp},
    {"EpA", nullptr, &R::EpA},
    {"EpB", nullptr, &R::EpB},
    {"EpU", nullptr, &R::EpU},
    {"FsA", nullptr, &R::FsA},
    {"FsB", nullptr, &R::FsB},
    {"FsU", nullptr, &R::FsU},
    {"Gi", nullptr, &R::Gi},
    {"Go", nullptr, &R::Go},
    {"SiU", nullptr, &R::SiU},
    {"SoU", nullptr, &R::SoU},
    {"SoA", nullptr, &R::SoA},
    {"SoB", nullptr, &R::SoB},
    {"Gw", nullptr, &R::Gw},
    {"FAw", nullptr, &R::FAw},
    {"FBw", nullptr, &R::FBw},
    {"Dr", &R::Dr},
    {"Ptr", &R::Ptr},
    {"Dx", &R::Dx},
    {"Ptx", &R::Ptx},
    {"Dq", &R::Dq},
    {"Ptq", &R::Ptq},
    {"Per", &R::Per},
    {"Flr", &R::Flr},
    {"Pex", &R::Pex},
    {"Flx", &R::Flx},
    {"Peq", &R::Peq},
    {"Flq", &R::Flq},
    {"Cx0", &R::Cx0},
    {"Cq0", &R::Cq0},
    {"Cic", &R::Cic},
    {"Ch", &R::Ch},
    {"Cp", &R::Cp},
    {"CA0", &R::CA0},
    {"CB0", &R::CB0},
    {"CU0", &R::CU0},
    {"Dw0", &R::Dw0},
    {"Dc", &R::Dc},
    {"Dd", &R::Dd, nullptr, nullptr, true},
    {"QH1", &R::QH1, nullptr, nullptr, true},
    {"QH2", &R::QH2, nullptr, nullptr, true},
    {"DAu", nullptr, &R::DAu, nullptr, true},
    {"DBu", nullptr, &R::DBu, nullptr, true},
    {"CxA0", &R::CxA0, nullptr, nullptr, true},
    {"CxB0", &R::CxB0, nullptr, nullptr, true},
    {"Frd", nullptr, &R::Frd, nullptr, true},
};

} // namespace

std::span<const TInputField> InputFields()
{
    return Fields;
}

const TInputField* FindInputField(std::string_view name)
{
    for (const TInputField& f : Fields)
        if (name == f.Name)
            return &f;
    return nullptr;
}

double FieldValue(const TInputField& f, const TInputRecord& rec, int season)
{
    if (f.Scalar)
        return rec.*f.Scalar;
    if (f.Seasonal)
        return (rec.*f.Seasonal)[season];
    return rec.*f.Whole;
}

void SetFieldValue(const TInputField& f, TInputRecord& rec, int season, double v)
{
    if (f.Scalar)
        rec.*f.Scalar = v;
    else if (f.Seasonal)
        (rec.*f.Seasonal)[season] = v;
    else
        rec.*f.Whole = static_cast<std::uint8_t>(v);
}

} // namespace veltra
