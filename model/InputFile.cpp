#include "model/InputFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <system_error>

#include "model/NumberText.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// Reading

// A cursor over the whole file text with the token and line operations the
// layouts are described in: numbers are blank-separated tokens that may be
// preceded by line breaks, "finishing" a line discards the rest of it, and the
// label probes read a fixed number of characters inside one line.
class TScanner {
public:
    TScanner(std::string text, std::string source) : text_(std::move(text)), source_(std::move(source)) {}

    void Restart()
    {
        pos_ = 0;
        line_ = 1;
    }

    int CountLines() const
    {
        if (text_.empty())
            return 0;
        int n = static_cast<int>(std::count(text_.begin(), text_.end(), '\n'));
        if (text_.back() != '\n')
            ++n;
        return n;
    }

    // The rest of the current line, without its line end; moves to the next line.
    std::string ReadLine()
    {
        if (pos_ >= text_.size())
            FailEnd("a title line");
        std::size_t end = text_.find('\n', pos_);
        std::string line;
        if (end == std::string::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
        } else {
            line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            ++line_;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

    // Discard the rest of the current line (a no-op at the end of the file).
    void FinishLine()
    {
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) {
            pos_ = text_.size();
        } else {
            pos_ = end + 1;
            ++line_;
        }
    }

    // Up to n characters of the current line.
    std::string ReadChars(std::size_t n)
    {
        std::string s;
        while (s.size() < n && pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n')
            s += text_[pos_++];
        return s;
    }

    // Number of blank-separated tokens left on the current line.
    int TokensLeftOnLine() const
    {
        int count = 0;
        bool inToken = false;
        for (std::size_t p = pos_; p < text_.size() && text_[p] != '\n'; ++p) {
            bool blank = IsBlank(text_[p]);
            if (!blank && !inToken)
                ++count;
            inToken = !blank;
        }
        return count;
    }

    double ReadReal()
    {
        auto [token, line] = ReadToken();
        double v = 0;
        if (!ParseReal(token, v))
            Fail(token, line);
        return v;
    }

    std::uint8_t ReadKey()
    {
        auto [token, line] = ReadToken();
        std::size_t i = 0;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            ++i;
        bool digits = i < token.size();
        long value = 0;
        for (; i < token.size() && digits; ++i) {
            if (token[i] < '0' || token[i] > '9')
                digits = false;
            else if (value <= 255)
                value = value * 10 + (token[i] - '0');
        }
        if (!digits || value > 255 || (token[0] == '-' && value != 0))
            Fail(token, line, "is not a whole number from 0 to 255");
        return static_cast<std::uint8_t>(value);
    }

    [[noreturn]] void FailEnd(const char* expected) const
    {
        throw TInputFileError("The file \"" + source_ + "\" cannot be read: line " + WholeText(line_) +
                                  ": the file ends where " + expected + " was expected.",
                              source_, false, line_, {});
    }

    [[noreturn]] void FailEmpty() const
    {
        throw TInputFileError("The file \"" + source_ + "\" cannot be read: it is empty.", source_, false, 1, {});
    }

    [[noreturn]] void Fail(const std::string& token, int line, const char* what = "is not a number") const
    {
        // A binary file may have no blanks at all: show the start of the text.
        std::string shown = token.size() > 40 ? token.substr(0, 40) + "..." : token;
        for (char& c : shown)
            if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
                c = '?';
        throw TInputFileError("The file \"" + source_ + "\" cannot be read: line " + WholeText(line) + ": \"" + shown +
                                  "\" " + what + ".",
                              source_, false, line, shown);
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

    // Reals: optional sign, digits with one "." or ",", optional exponent;
    // the value must be finite. from_chars ignores the locale.
    static bool ParseReal(std::string token, double& v)
    {
        for (char& c : token) {
            if (c == ',')
                c = '.';
            else if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'))
                return false;
        }
        const char* begin = token.data();
        const char* end = token.data() + token.size();
        if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-')
            ++begin;
        auto [ptr, ec] = std::from_chars(begin, end, v, std::chars_format::general);
        return ec == std::errc() && ptr == end && std::isfinite(v);
    }

    std::pair<std::string, int> ReadToken()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        if (pos_ >= text_.size())
            FailEnd("a number");
        std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]))
            ++pos_;
        return {text_.substr(start, pos_ - start), line_};
    }

    std::string text_;
    std::string source_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

int SeasonsInFile(const TInputRecord& r)
{
    return std::min<int>(r.Ns, 4);
}

// Ns values of one array, then the rest of the line.
void ReadSingles(TScanner& sc, const TInputRecord& r, TSeasonal& a)
{
    for (int s = 1; s <= SeasonsInFile(r); ++s)
        a[s] = sc.ReadReal();
    sc.FinishLine();
}

// Ns pairs (first of season 1, second of season 1, first of season 2, ...).
void ReadPairs(TScanner& sc, const TInputRecord& r, TSeasonal& a, TSeasonal& b)
{
    for (int s = 1; s <= SeasonsInFile(r); ++s) {
        a[s] = sc.ReadReal();
        b[s] = sc.ReadReal();
    }
    sc.FinishLine();
}

void ReadLabelAndSingles(TScanner& sc, const TInputRecord& r, TSeasonal& a)
{
    sc.FinishLine();
    ReadSingles(sc, r, a);
}

void ReadLabelAndPairs(TScanner& sc, const TInputRecord& r, TSeasonal& a, TSeasonal& b)
{
    sc.FinishLine();
    ReadPairs(sc, r, a, b);
}

// Groups 17 to 20, the same in every layout.
void ReadSoilGroups(TScanner& sc, TInputRecord& r)
{
    sc.FinishLine();
    r.Dr = sc.ReadReal();
    r.Ptr = sc.ReadReal();
    r.Dx = sc.ReadReal();
    r.Ptx = sc.ReadReal();
    r.Dq = sc.ReadReal();
    r.Ptq = sc.ReadReal();
    sc.FinishLine();
    sc.FinishLine();
    r.Per = sc.ReadReal();
    r.Flr = sc.ReadReal();
    r.Pex = sc.ReadReal();
    r.Flx = sc.ReadReal();
    r.Peq = sc.ReadReal();
    r.Flq = sc.ReadReal();
    sc.FinishLine();
    sc.FinishLine();
    r.Cx0 = sc.ReadReal();
    r.Cq0 = sc.ReadReal();
    r.Cic = sc.ReadReal();
    r.Ch = sc.ReadReal();
    r.Cp = sc.ReadReal();
    sc.FinishLine();
    sc.FinishLine();
    r.CA0 = sc.ReadReal();
    r.CB0 = sc.ReadReal();
    r.CU0 = sc.ReadReal();
    r.Dw0 = sc.ReadReal();
    r.Dc = sc.ReadReal();
    sc.FinishLine();
}

// Groups 21 to 23 (drains), current and old area-wise layouts.
void ReadDrainGroups(TScanner& sc, TInputRecord& r)
{
    sc.FinishLine();
    r.Dd = sc.ReadReal();
    r.QH1 = sc.ReadReal();
    r.QH2 = sc.ReadReal();
    sc.FinishLine();
    ReadLabelAndPairs(sc, r, r.DAu, r.DBu);
    sc.ReadChars(12);
    sc.FinishLine();
    r.CxA0 = sc.ReadReal();
    r.CxB0 = sc.ReadReal();
    for (int s = 1; s <= SeasonsInFile(r); ++s)
        r.Frd[s] = sc.ReadReal();
    sc.FinishLine();
}

// The old area-wise layout, read from the top of the file.
void ReadAreaWise(TScanner& sc, TInputRecord& r)
{
    sc.Restart();
    r.Title1 = sc.ReadLine();
    r.Title2 = sc.ReadLine();
    sc.FinishLine();
    r.Area = sc.ReadReal();
    r.Ns = sc.ReadKey();
    r.Kd = sc.ReadKey();
    r.Kf = sc.ReadKey();
    r.Kr = sc.ReadKey();
    r.Krf = sc.ReadKey();
    sc.FinishLine();
    sc.FinishLine();
    r.Ny = sc.ReadKey();
    r.Ky = sc.ReadKey();
    sc.ReadReal(); // a value of that layout no longer used
    r.CAmax = sc.ReadReal();
    r.CBmax = sc.ReadReal();
    sc.FinishLine();
    ReadLabelAndSingles(sc, r, r.Ts);
    ReadLabelAndPairs(sc, r, r.A, r.B);
    ReadLabelAndPairs(sc, r, r.RcA, r.RcB);
    ReadLabelAndPairs(sc, r, r.Lc, r.Io);
    ReadLabelAndPairs(sc, r, r.IaA, r.EpA);
    ReadLabelAndPairs(sc, r, r.IaB, r.EpB);
    ReadLabelAndPairs(sc, r, r.Pp, r.EpU);
    ReadLabelAndPairs(sc, r, r.FsA, r.FsB);
    ReadLabelAndSingles(sc, r, r.FsU);
    ReadLabelAndPairs(sc, r, r.Gi, r.Go);
    ReadLabelAndPairs(sc, r, r.SiU, r.SoU);
    ReadLabelAndPairs(sc, r, r.SoA, r.SoB);
    // Group 15 held one well-water use fraction for both crop groups.
    sc.FinishLine();
    for (int s = 1; s <= SeasonsInFile(r); ++s) {
        r.Gw[s] = sc.ReadReal();
        r.FAw[s] = r.FBw[s] = sc.ReadReal();
    }
    sc.FinishLine();
    ReadSoilGroups(sc, r);
    if (r.Kd == 1)
        ReadDrainGroups(sc, r);
    r.Kp = 0;
    for (int s = 1; s <= SeasonsInFile(r); ++s)
        if (r.Gw[s] > 0)
            r.Kp = 1;
}

// The climate-last layout, from the group-8 data line (FsA/FsB) on.
void ReadClimateLast(TScanner& sc, TInputRecord& r)
{
    ReadPairs(sc, r, r.FsA, r.FsB);
    ReadLabelAndSingles(sc, r, r.FsU);
    ReadLabelAndPairs(sc, r, r.Gi, r.Go);
    ReadLabelAndPairs(sc, r, r.SiU, r.SoU);
    ReadLabelAndPairs(sc, r, r.SoA, r.SoB);
    ReadLabelAndSingles(sc, r, r.Gw);
    ReadSoilGroups(sc, r);
    if (r.Kd == 1) {
        sc.FinishLine();
        r.Dd = sc.ReadReal();
        r.QH1 = sc.ReadReal();
        r.QH2 = sc.ReadReal();
        for (int s = 1; s <= SeasonsInFile(r); ++s)
            r.DAu[s] = r.DBu[s] = sc.ReadReal();
        sc.FinishLine();
        sc.FinishLine();
        r.CxA0 = sc.ReadReal();
        r.CxB0 = sc.ReadReal();
        for (int s = 1; s <= SeasonsInFile(r); ++s)
            r.Frd[s] = sc.ReadReal();
        sc.FinishLine();
        sc.FinishLine();
        sc.FinishLine();
    } else {
        sc.FinishLine();
        sc.FinishLine();
        sc.FinishLine();
    }
    for (int s = 1; s <= SeasonsInFile(r); ++s) {
        sc.ReadChars(12);
        r.Pp[s] = sc.ReadReal();
        r.EpA[s] = sc.ReadReal();
        r.EpB[s] = sc.ReadReal();
        r.EpU[s] = sc.ReadReal();
        sc.FinishLine();
    }
}

// The two titles and group 1. A group-1 data line of five values is the old one
// without Kp.
void ReadTitlesAndKeys(TScanner& sc, TInputRecord& r)
{
    r.Shell.LineCount = sc.CountLines();
    if (r.Shell.LineCount == 0)
        sc.FailEmpty();
    r.Title1 = sc.ReadLine();
    r.Title2 = sc.ReadLine();
    sc.FinishLine();
    r.Shell.OldLine1Layout = sc.TokensLeftOnLine() == 5 ? 1 : 0;
    r.Area = sc.ReadReal();
    r.Kd = sc.ReadKey();
    r.Kp = r.Shell.OldLine1Layout ? 0 : sc.ReadKey();
    r.Kf = sc.ReadKey();
    r.Kr = sc.ReadKey();
    r.Krf = sc.ReadKey();
    sc.FinishLine();
}

// Characters 25 to 28 of the group-2 label line, which tell the layouts apart
// ("n.a.": the old area-wise one, four blanks: the one without Ky). After an old
// group-1 line there is none, and the current group-2 data line follows.
std::string ReadGroup2Probe(TScanner& sc, const TInputRecord& r)
{
    std::string probe;
    if (!r.Shell.OldLine1Layout) {
        sc.ReadChars(24);
        probe = sc.ReadChars(4);
    }
    sc.FinishLine();
    return probe;
}

void ReadGroup2(TScanner& sc, TInputRecord& r, bool withKy)
{
    r.Ny = sc.ReadKey();
    r.Ns = sc.ReadKey();
    r.Ky = withKy ? sc.ReadKey() : 0;
    r.CAmax = sc.ReadReal();
    r.CBmax = sc.ReadReal();
    if (withKy) {
        r.Shell.SavedNy = r.Ny;
        r.Shell.SavedKy = r.Ky;
    }
    sc.FinishLine();
}

// Groups 8 to 23 of the current layout, from the group-8 data line on.
void ReadClimateToDrains(TScanner& sc, TInputRecord& r)
{
    ReadPairs(sc, r, r.Pp, r.EpA);
    ReadLabelAndPairs(sc, r, r.EpB, r.EpU);
    ReadLabelAndPairs(sc, r, r.FsA, r.FsB);
    ReadLabelAndSingles(sc, r, r.FsU);
    ReadLabelAndPairs(sc, r, r.Gi, r.Go);
    ReadLabelAndPairs(sc, r, r.SiU, r.SoU);
    ReadLabelAndPairs(sc, r, r.SoA, r.SoB);
    ReadLabelAndSingles(sc, r, r.Gw);
    ReadLabelAndPairs(sc, r, r.FAw, r.FBw);
    ReadSoilGroups(sc, r);
    if (r.Kd == 1)
        ReadDrainGroups(sc, r);
}

void Parse(TScanner& sc, TInputRecord& r)
{
    ReadTitlesAndKeys(sc, r);
    const std::string probe = ReadGroup2Probe(sc, r);
    if (probe == "n.a.") {
        ReadAreaWise(sc, r);
        r.Shell.OldLine1Layout = 0;
        return;
    }
    ReadGroup2(sc, r, probe != "    ");
    ReadLabelAndSingles(sc, r, r.Ts);
    ReadLabelAndPairs(sc, r, r.A, r.B);
    ReadLabelAndPairs(sc, r, r.RcA, r.RcB);
    ReadLabelAndPairs(sc, r, r.Lc, r.Io);
    ReadLabelAndPairs(sc, r, r.IaA, r.IaB);

    // Characters 9 to 12 of the group-8 label line: "FsA1" is the climate-last layout.
    sc.ReadChars(8);
    const std::string probe8 = sc.ReadChars(4);
    sc.FinishLine();
    if (probe8 == "FsA1")
        ReadClimateLast(sc, r);
    else
        ReadClimateToDrains(sc, r);
    r.Shell.OldLine1Layout = 0;
}

// ---------------------------------------------------------------------------
// Writing

// Fixed-point text right-aligned in `width`; a text that fills its field or
// more gets one blank in front so that it never runs into the value before it.
std::string Fix(double v, int width, int decimals)
{
    std::string s(1, ' ');
    return s.append(FixedText(v, width - 1, decimals));
}

std::string Key(std::uint8_t k)
{
    return WholeText(k);
}

// A title must stay one line.
std::string OneLine(std::string s)
{
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

// The lines of an input file, CR LF, and the seasonal lines of its Ns seasons.
class TInputWriter {
public:
    TInputWriter(std::ostream& out, int seasons) : out_(out), ns_(seasons) {}
    void Line(const std::string& s) { out_ << s << "\r\n"; }

    // A seasonal label line: its beginning, then one fragment per season.
    template <class TFragment>
    void Label(const std::string& head, TFragment fragment)
    {
        std::string s = head;
        for (int i = 1; i <= ns_; ++i)
            s += fragment(WholeText(i));
        Line(s);
    }
    void Singles(const std::string& lead, const TSeasonal& a, int width, int decimals)
    {
        std::string s = lead;
        for (int i = 1; i <= ns_; ++i)
            s += Fix(a[i], width, decimals);
        Line(s);
    }
    void Pairs(const std::string& lead, const TSeasonal& a, const TSeasonal& b, int width, int decimals)
    {
        std::string s = lead;
        for (int i = 1; i <= ns_; ++i)
            s += Fix(a[i], width, decimals) + Fix(b[i], width, decimals);
        Line(s);
    }
    int Seasons() const { return ns_; }

private:
    std::ostream& out_;
    int ns_;
};

const std::string Sp3(3, ' '), Sp4(4, ' '), Sp5(5, ' ');

void WriteTitlesAndKeys(TInputWriter& w, const TInputRecord& r)
{
    w.Line(OneLine(r.Title1));
    w.Line(OneLine(r.Title2));
    w.Line("1.      Area    Kd      Kp      Kf      Kr      Krf");
    w.Line(Sp4 + Fix(r.Area, 8, 1) + Sp4 + Key(r.Kd) + "       " + Key(r.Kp) + "       " + Key(r.Kf) + "       " +
           Key(r.Kr) + "       " + Key(r.Krf));
    w.Line("2.      Ny      Ns      Ky      CAmax   CBmax");
    w.Line("        " + Key(r.Ny) + "      " + Key(r.Ns) + "       " + Key(r.Ky) + Sp3 + Fix(r.CAmax, 8, 1) +
           Fix(r.CBmax, 8, 1));
}

// Groups 3 to 16, one or two values per season.
void WriteSeasonGroups(TInputWriter& w, const TInputRecord& r)
{
    w.Label("3.   ", [](const std::string& n) { return "   Ts" + n + "  "; });
    w.Singles(Sp3, r.Ts, 8, 1);
    w.Label("4.   ", [](const std::string& n) { return "   A" + n + "      B" + n + "   "; });
    w.Pairs(Sp4, r.A, r.B, 8, 2);
    w.Label("5.   ", [](const std::string& n) { return "   RcA" + n + "    RcB" + n + " "; });
    w.Pairs(" ", r.RcA, r.RcB, 8, 0);
    w.Label("6.   ", [](const std::string& n) { return "   Lc" + n + "     Io" + n + "  "; });
    w.Pairs(Sp5, r.Lc, r.Io, 8, 3);
    w.Label("7.   ", [](const std::string& n) { return "   IaA" + n + "    IaB" + n + " "; });
    w.Pairs(Sp5, r.IaA, r.IaB, 8, 3);
    w.Label("8   ", [](const std::string& n) { return "    Pp" + n + "     EpA" + n; });
    w.Pairs(Sp5, r.Pp, r.EpA, 8, 3);
    w.Label("9   ", [](const std::string& n) { return "    EPB" + n + "    EpU" + n; });
    w.Pairs(Sp5, r.EpB, r.EpU, 8, 3);
    w.Label("10.  ", [](const std::string& n) { return "   FsA" + n + "    FsB" + n + " "; });
    w.Pairs(Sp4, r.FsA, r.FsB, 8, 2);
    w.Label("11.  ", [](const std::string& n) { return "   FsU" + n + " "; });
    w.Singles(Sp4, r.FsU, 8, 2);
    w.Label("12.  ", [](const std::string& n) { return "   Gi" + n + "     Go" + n + "  "; });
    w.Pairs(Sp5, r.Gi, r.Go, 8, 3);
    w.Label("13.  ", [](const std::string& n) { return "   SiU" + n + "    SoU" + n + " "; });
    w.Pairs(Sp5, r.SiU, r.SoU, 8, 3);
    w.Label("14.  ", [](const std::string& n) { return "   SoA" + n + "    SoB" + n + " "; });
    w.Pairs(Sp5, r.SoA, r.SoB, 8, 3);
    w.Label("15.  ", [](const std::string& n) { return "   Gw" + n + "  "; });
    w.Singles(Sp5, r.Gw, 8, 3);
    w.Label("16.  ", [](const std::string& n) { return "   FAw" + n + "    FBw" + n + " "; });
    w.Pairs(Sp5, r.FAw, r.FBw, 8, 3);
}

// Groups 17 to 20; a field widens where its value needs the room (Dq, Cx0, Cq0, Ch).
void WriteSoilGroups(TInputWriter& w, const TInputRecord& r)
{
    w.Line("17.     Dr      Ptr     Dx      Ptx     Dq      Ptq");
    std::string g17 = Sp4 + Fix(r.Dr, 8, 2) + Fix(r.Ptr, 8, 2) + Fix(r.Dx, 8, 2) + Fix(r.Ptx, 8, 2);
    if (r.Dq <= 9.999)
        g17 += Fix(r.Dq, 8, 2) + Fix(r.Ptq, 8, 2);
    else
        g17 += Fix(r.Dq, 9, 2) + Fix(r.Ptq, 7, 2);
    w.Line(g17);
    w.Line("18.     Per     Flr     Pex     Flx     Peq     Flq");
    w.Line(Sp5 + Fix(r.Per, 8, 3) + Fix(r.Flr, 7, 2) + Fix(r.Pex, 9, 3) + Fix(r.Flx, 7, 2) + Fix(r.Peq, 9, 3) +
           Fix(r.Flq, 7, 2));
    w.Line("19.     Cx0     Cq0     Cic     Ch      Cp");
    w.Line((r.Cx0 >= 10 ? Sp4 : Sp3) + Fix(r.Cx0, 8, 1) + Fix(r.Cq0, 8, 1) + Fix(r.Cic, r.Cq0 >= 10 ? 7 : 8, 1) +
           Fix(r.Ch, r.Ch >= 10 ? 9 : 8, 1) + Fix(r.Cp, r.Ch >= 10 ? 7 : 8, 1));
    w.Line("20.     CA0     CB0     CU0     Dw0     Dc");
    w.Line(Sp3 + Fix(r.CA0, 8, 1) + Fix(r.CB0, 8, 1) + Fix(r.CU0, 8, 1) + Fix(r.Dw0, 9, 2) + Fix(r.Dc, 8, 2));
}

// Groups 21 to 23, written only with drains (Kd = 1).
void WriteDrainGroups(TInputWriter& w, const TInputRecord& r)
{
    w.Line("21.     Dd      QH1     QH2  ");
    w.Line(Sp4 + Fix(r.Dd, 8, 2) + Fix(r.QH1, 10, 4) + Fix(r.QH2, 8, 4));
    w.Label("22.  ", [](const std::string& n) { return "   DAu" + n + "    DBu" + n + " "; });
    w.Pairs(Sp5, r.DAu, r.DBu, w.Seasons() == 1 ? 7 : 8, 3);
    w.Label("23.     CxA0    CxB0   ", [](const std::string& n) { return " Frd" + n + "   "; });
    std::string g23 = Sp3 + Fix(r.CxA0, 8, 1) + Fix(r.CxB0, 8, 1) + " ";
    for (int i = 1; i <= w.Seasons(); ++i)
        g23 += Fix(r.Frd[i], 8, 2);
    w.Line(g23);
}

} // namespace

void ReadInputText(std::string text, const std::string& sourceName, TInputRecord& rec)
{
    TScanner sc(std::move(text), sourceName);
    TInputRecord scratch = rec;
    scratch.Ns = 1; // until the file's own is read: a failure before it is not the seasons'
    try {
        Parse(sc, scratch);
    } catch (const TInputFileError& e) {
        // A count of seasons the file cannot hold makes the reader look for the
        // wrong number of values: say that, not what it then found in their place.
        if (scratch.Ns >= 1 && scratch.Ns <= 4)
            throw;
        throw TInputFileError("The file \"" + sourceName + "\" cannot be read: line " + WholeText(e.Line) + ": Ns is " +
                                  WholeText(scratch.Ns) + ". Number of seasons NS must be 1, 2, 3 or 4.",
                              e.FileName, e.CannotOpen, e.Line, e.Text);
    }
    rec = std::move(scratch);
}

void ReadInputStream(std::istream& in, const std::string& sourceName, TInputRecord& rec)
{
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw TInputFileError(ReadFailureMessage(sourceName), sourceName, true);
    ReadInputText(std::move(text), sourceName, rec);
}

void ReadNamedInputFile(const std::string& path, TInputRecord& rec)
{
    std::string text;
    try {
        text = ReadWholeFile(path, InputFileLimit, "an input file");
    } catch (const TCannotReadError&) {
        throw TInputFileError(ReadFailureMessage(path), path, true);
    } catch (const TVeltraError& e) {
        throw TInputFileError(e.what(), path, true); // a folder, a file too large
    }
    ReadInputText(std::move(text), path, rec);
}

std::string FileOfAnyExtensionCase(const std::string& path)
{
    const fs::path p(path);
    std::error_code ec;
    if (fs::exists(p, ec))
        return path;
    auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    const std::string ext = lower(p.extension().string());
    // The lowest name when several cases are there, so that the choice never
    // depends on the order of the folder.
    std::string found;
    for (const auto& entry : fs::directory_iterator(p.parent_path(), ec)) {
        const fs::path& e = entry.path();
        if (e.stem() == p.stem() && lower(e.extension().string()) == ext && entry.is_regular_file(ec) &&
            (found.empty() || e.string() < found))
            found = e.string();
    }
    return found.empty() ? path : found;
}

void ReadInputFile(TInputRecord& rec)
{
    fs::path p(rec.Shell.FileName);
    p.replace_extension(".inp");
    std::error_code ec;
    fs::path abs = fs::absolute(p, ec);
    if (!ec)
        p = abs.lexically_normal();
    // The save dialog names input files ".INP" and later years ".inp": on a
    // case-sensitive file system take the file whose extension differs only in case.
    rec.Shell.FileName = FileOfAnyExtensionCase(p.string());
    ReadNamedInputFile(rec.Shell.FileName, rec);
}

void WriteInputStream(std::ostream& out, const TInputRecord& r)
{
    TInputWriter w(out, std::min<int>(r.Ns, 4));
    WriteTitlesAndKeys(w, r);
    WriteSeasonGroups(w, r);
    WriteSoilGroups(w, r);
    if (r.Kd == 1)
        WriteDrainGroups(w, r);
}

std::string InputFileText(const TInputRecord& rec)
{
    std::ostringstream out;
    WriteInputStream(out, rec);
    return out.str();
}

void WriteInputFile(const TInputRecord& rec, const std::string& path, TFileSystem& fs)
{
    try {
        WriteWholeFile(path, InputFileText(rec), fs);
    } catch (const TFileRefusal& e) {
        throw TInputFileError(e.what(), path, true);
    } catch (const TVeltraError&) {
        throw TInputFileError(WriteFailureMessage(path), path, true);
    }
}

// An input file that cannot be opened: "dameged" when read, "damaged" when written.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
std::string ReadFailureMessage(const std::string& path)
{
    return "The file \"" + path + "\"could not be opened. It may be dameged or in use by another program.";
}

std::string WriteFailureMessage(const std::string& path)
{
    return "The file \"" + path + "\"could not be opened. It may be damaged or in use by another program.";
}

} // namespace veltra
