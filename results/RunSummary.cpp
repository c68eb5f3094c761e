#include "results/RunSummary.h"

namespace veltra {

namespace {

constexpr double Present = 0.001; // a fraction counts when above it

void Set(TSummaryValues& v, TSummaryValue which, double value)
{
    v[static_cast<std::size_t>(which)] = value;
}

} // namespace

TSummaryValues SeasonSummaryValues(const TInputRecord& rec, const TEngineState& st, int s)
{
    using V = TSummaryValue;
    TSummaryValues v;
    Set(v, V::Dw, st.Dw);
    // Which variable each root-zone symbol prints depends on the rotation key.
    switch (st.Kr) {
    case 0:
    case 10:
        if (st.Ac > Present)
            Set(v, V::CrA, st.CrA);
        if (st.Bc > Present)
            Set(v, V::CrB, st.CrB);
        if (st.Uc > Present)
            Set(v, V::CrU, st.CrU);
        break;
    case 1:
        Set(v, V::CrU, st.CrU);
        break;
    case 2:
        Set(v, V::CrA, st.CrA);
        break;
    case 3:
        Set(v, V::CrB, st.CrB);
        break;
    case 4:
        Set(v, V::Cr4, st.CrA);
        break;
    case 5:
        Set(v, V::CrA, st.CrA);
        Set(v, V::CrB, st.CrB);
        break;
    case 6:
        Set(v, V::CrA, st.CrA);
        Set(v, V::CrU, st.CrU);
        break;
    case 7:
        Set(v, V::CrB, st.CrB);
        Set(v, V::CrU, st.CrU);
        break;
    default:
        break;
    }
    if (rec.Kd == 1) {
        Set(v, V::Cxa, st.Cxa);
        Set(v, V::Cxb, st.Cxb);
        Set(v, V::Gd, st.Gd);
    } else {
        Set(v, V::Cxf, st.Cxf);
    }
    Set(v, V::Cqf, st.Cqf);
    if (st.A[s] > Present || st.B[s] > Present)
        Set(v, V::EfT, st.Eft);
    return v;
}

void TRunSummary::SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st)
{
    if (done.Year != year_ || seasons_.empty()) {
        year_ = done.Year;
        seasons_.clear();
    }
    seasons_.push_back({st.Ts[done.Season], SeasonSummaryValues(rec, st, done.Season)});
}

void TRunSummary::Warning(const std::vector<std::string>&) { ++warnings_; }

TSummaryValues TRunSummary::Last() const { return seasons_.empty() ? TSummaryValues{} : seasons_.back().Values; }

TSummaryValues TRunSummary::Means() const
{
    TSummaryValues means;
    for (std::size_t k = 0; k < SummaryValueCount; ++k) {
        double sum = 0, months = 0;
        bool any = false;
        for (const TSeason& s : seasons_)
            if (s.Values[k]) {
                sum += s.Months * *s.Values[k];
                months += s.Months;
                any = true;
            }
        if (any && months > 0)
            means[k] = sum / months;
    }
    return means;
}

} // namespace veltra
