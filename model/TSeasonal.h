#pragma once
// Four seasonal values indexed by the season number 1..4, as the model writes them.
#include <array>
#include <cassert>

namespace veltra {

class TSeasonal {
public:
    double& operator[](int s)
    {
        assert(s >= 1 && s <= 4);
        return v_[static_cast<std::size_t>(s - 1)];
    }
    double operator[](int s) const
    {
        assert(s >= 1 && s <= 4);
        return v_[static_cast<std::size_t>(s - 1)];
    }
    void Fill(double x) { v_.fill(x); }
    bool operator==(const TSeasonal&) const = default;

private:
    std::array<double, 4> v_{};
};

// Seasonal one-shot flags (warnings once per season number).
class TSeasonalFlags {
public:
    bool& operator[](int s)
    {
        assert(s >= 1 && s <= 4);
        return v_[static_cast<std::size_t>(s - 1)];
    }
    bool operator[](int s) const
    {
        assert(s >= 1 && s <= 4);
        return v_[static_cast<std::size_t>(s - 1)];
    }
    void Clear() { v_.fill(false); }

private:
    std::array<bool, 4> v_{};
};

} // namespace veltra
