#include "results/TRunSummary.h"

#include "results/ResultFile.h"

namespace veltra {

namespace {

constexpr double Present = 0.001; // a fraction counts when above it

void Set(TSummaryValues& v, TSummaryValue which, std::optional<double> value)
{
    v[static_cast<std::size_t>(which)] = value;
}

} // namespace

TSummaryValues SeasonSummaryValues(const TInputRecord& rec, const TEngineState& st, int s)
{
    using V = TSummaryValue;
    TSummaryValues v;
    Set(v, V::Dw, st.Dw);
    // The root-zone symbols as the season record prints them.
    const TRootZoneCells rz = RootZoneCells(st);
    Set(v, V::CrA, rz.CrA);
    Set(v, V::CrB, rz.CrB);
    Set(v, V::CrU, rz.CrU);
    Set(v, V::Cr4, rz.Cr4);
    if (rec.Kd == 1) {
        Set(v, V::Cxa, st.Cxa);
        Set(v, V::Cxb, st.Cxb);
        Set(v, V::Gd, st.Season.Gd);
    } else {
        Set(v, V::Cxf, st.Cxf);
    }
    Set(v, V::Cqf, st.Cqf);
    if (st.A[s] > Present || st.B[s] > Present)
        Set(v, V::EfT, st.Season.Eft);
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

void TRunSummary::Warning(const std::vector<std::string>&)
{
    ++warnings_;
}

TSummaryValues TRunSummary::Last() const
{
    return seasons_.empty() ? TSummaryValues{} : seasons_.back().Values;
}

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
