#include "results/GroupTables.h"

#include <array>
#include <sstream>

namespace veltra {

namespace {

// The tables' headings and column heads.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
const std::array<TGroupTable, 12>& Tables() // NOLINT(readability-function-size): the twelve tables as data
{
    static const std::array<TGroupTable, 12> tables{{
        {"CrA",
         "Soil salinities of the root zone CrA (irr. A crops), CrB (irr. B crops),",
         "CrU (not irr.), Cr4 (full rotation) and outside (C*) in dS/m, see symbols",
         " Year Season   CrA      CrB      CrU      Cr4      C0*      C1*      C2*      C3*",
         {" CrA", " CrB", " CrU", " Cr4", " C0*", " C1*", " C2*", " C3*"},
         {1, 2, 3, 4, 5, 6, 7, 8},
         false},
        {"Cxf",
         "Salinity of the trans. zone (Cxf, Cxa, Cxb), aquifer (Cqf), (mixed) irrigation",
         "water (Ci), drainage (Cd) and well water (Cw) EC in dS/m, see symbols list",
         " Year Season    Cxf       Cxa       Cxb       Cqf       Ci        Cd        Cw",
         {" Cxf", " CxA", " CxB", " Cqf", " Ci", " Cd", " Cw"},
         {1, 2, 3, 4, 5, 6, 7},
         false},
        {"Zs",
         "Salt storage above the soil surface (Zs) in m.dS/m per season",
         "only when the water table is above the surface, see symbols list",
         " Year Season    Zs",
         {" Zs"},
         {6},
         false},
        {"Gd",
         "Drain (Gd, Ga, Gb) and well (Gw) discharge in m/season",
         "Ga and Gb are drainage flows above and below drain level, see symbols list",
         " Year Season    Gd        Ga        Gb        Gw ",
         {" Gd", " Ga", " Gb", " Gw"},
         {1, 2, 3, 4},
         false},
        {"Dw",
         "Level of the water table (LWT in m) relative to soil surface",
         "When the watertable is below soil surface the depth is given as a negative value",
         " Year Season     Dw",
         {" Dw"},
         {5},
         false},
        {"LrA",
         "Percolation down from the root zone in A land (LrA), B land (LrB),",
         "un-irr. land (LrU), and total area average (Lr) in m/season, see symbols list",
         " Year Season    LrA       LrB       LrU       Lr",
         {" LrA", " LrB", " LrU", " Lr"},
         {1, 2, 3, 4},
         false},
        {"RrA",
         "Capillary rise up from the water table in A land (RrA), B land (RrB),",
         "unirrigated U land (RrU) and total area average (Rr) in m/season, see symbols list",
         " Year Season    RrA       RrB       RrU       Rr",
         {" RrA", " RrB", " RrU", " Rr"},
         {1, 2, 3, 4},
         false},
        {"It",
         "Amounts of irrigation water (m/season), It = total, Is = net, Io = bypass,",
         "IaA and IaB are field applications to land under A and B crops, see symbols",
         " Year Season     It        Is        Io       IaA       IaB",
         {" It", " Is", " Io", " IaA", " IaB"},
         {1, 2, 3, 4, 5},
         false},
        {"FfA",
         "Irrigation efficiency in A (EfA) and B land (EfB) and total (Eft)",
         "sufficiency in A (JsA) and B land (JsB), fractions, see symbols list",
         " Year Season    EfA       EfB       Eft       JsA       JsB",
         {" EfA", " EfB", " Eft", " JsA", " JsB"},
         {1, 2, 3, 4, 5},
         true},
        {"EaU",
         "Actual evaporation from unirrigated land  EaU in m/season,",
         "see symbols list",
         " Year Season    EaU",
         {" EaU"},
         {6},
         false},
        {"A",
         "Area fraction of irrigated A land, B land,  un-irrigated land (U), and",
         "permanently fallow land (Uc), see symbols list",
         " Year Season     A         B         U        Uc",
         {"  A", "  B", "  U", " Uc"},
         {1, 2, 3, 4},
         true},
        {"Kr",
         "Crop rotation index (Kr), this may change when the Kf key for",
         "farmers responses is set to 1, see symbols list",
         " Year Season      Kr",
         {" Kr"},
         {5},
         false},
    }};
    return tables;
}

} // namespace

const TGroupTable* FindGroupTable(const std::string& name)
{
    for (const TGroupTable& t : Tables())
        if (name == t.Name)
            return &t;
    return nullptr;
}

const TGroupTable* TableOfFirstSymbol(const std::string& symbol)
{
    // Every table's first column is named after the table, except the
    // efficiency table whose group is FfA but whose first column is EfA.
    if (symbol == "FfA")
        return nullptr;
    return FindGroupTable(symbol == "EfA" ? std::string("FfA") : symbol);
}

std::string QuotedHeading(const char* text)
{
    return std::string("\"") + text + "\" ";
}

std::vector<std::string> ColumnSymbols(const TGroupTable& table)
{
    std::istringstream in(table.ColumnHeads);
    std::vector<std::string> symbols;
    std::string word;
    in >> word >> word; // Year, Season
    while (in >> word)
        symbols.push_back(word);
    return symbols;
}

} // namespace veltra
