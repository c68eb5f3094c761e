#include "qt/Pictures.h"

#include <algorithm>
#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace veltra {

namespace {

const QColor Sky(214, 234, 250);
const QColor RootZone(222, 190, 130);
const QColor TransitionZone(196, 156, 98);
const QColor Aquifer(160, 132, 92);
const QColor Water(40, 110, 200);
const QColor Salt(245, 245, 245);
const QColor Crop(60, 150, 60);
const QColor CropB(150, 170, 50);
const QColor Ink(30, 30, 40);
const QColor Flow(20, 80, 170);
const QColor Accent(160, 30, 30);

void SetFont(QPainter& p, int pixels, bool bold = false)
{
    QFont f = p.font();
    f.setPixelSize(pixels);
    f.setBold(bold);
    p.setFont(f);
}

void Text(QPainter& p, QPointF at, const QString& text, QColor colour = Ink, int pixels = 15, bool bold = false)
{
    SetFont(p, pixels, bold);
    p.setPen(colour);
    p.drawText(at, text);
}

// Text centred in a box.
void TextIn(QPainter& p, QRectF box, const QString& text, QColor colour = Ink, int pixels = 15, bool bold = false)
{
    SetFont(p, pixels, bold);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour = Flow, double width = 3)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = 5 + 2.5 * width;
    QPolygonF tip;
    tip << to << to - QPointF(head * std::cos(angle - 0.45), head * std::sin(angle - 0.45))
        << to - QPointF(head * std::cos(angle + 0.45), head * std::sin(angle + 0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tip);
    p.setBrush(Qt::NoBrush);
}

// A dimension line with its label, for the thickness of a layer.
void Dimension(QPainter& p, double x, double top, double bottom, const QString& label)
{
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(QPointF(x - 6, top), QPointF(x + 6, top));
    p.drawLine(QPointF(x - 6, bottom), QPointF(x + 6, bottom));
    p.drawLine(QPointF(x, top + 2), QPointF(x, bottom - 2));
    Arrow(p, QPointF(x, (top + bottom) / 2), QPointF(x, top + 1), Ink, 1.5);
    Arrow(p, QPointF(x, (top + bottom) / 2), QPointF(x, bottom - 1), Ink, 1.5);
    SetFont(p, 17, true);
    p.setPen(Ink);
    p.drawText(QRectF(x - 50, (top + bottom) / 2 - 12, 42, 24), Qt::AlignRight | Qt::AlignVCenter, label);
}

void Plant(QPainter& p, QPointF foot, double height, QColor colour)
{
    p.setPen(QPen(colour.darker(130), 2));
    p.drawLine(foot, foot - QPointF(0, height));
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    for (int k = 1; k <= 3; ++k) {
        const double y = foot.y() - height * k / 4.0;
        p.drawEllipse(QRectF(foot.x() - 9, y - 4, 9, 6));
        p.drawEllipse(QRectF(foot.x(), y - 7, 9, 6));
    }
    p.setBrush(Qt::NoBrush);
}

void Cloud(QPainter& p, QPointF c, double s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 252, 255));
    p.drawEllipse(c + QPointF(-30 * s, -6 * s), 26 * s, 18 * s);
    p.drawEllipse(c + QPointF(0, -16 * s), 30 * s, 24 * s);
    p.drawEllipse(c + QPointF(30 * s, -6 * s), 26 * s, 18 * s);
    p.drawRoundedRect(QRectF(c.x() - 52 * s, c.y() - 8 * s, 104 * s, 24 * s), 12 * s, 12 * s);
    p.setBrush(Qt::NoBrush);
}

void Sun(QPainter& p, QPointF c, double r)
{
    p.setPen(QPen(QColor(240, 170, 20), 3));
    for (int k = 0; k < 12; ++k) {
        const double a = k * 3.14159265 / 6;
        p.drawLine(c + QPointF((r + 5) * std::cos(a), (r + 5) * std::sin(a)),
                   c + QPointF((r + 15) * std::cos(a), (r + 15) * std::sin(a)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 205, 40));
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
}

void Drain(QPainter& p, QPointF c)
{
    p.setPen(QPen(QColor(70, 70, 70), 2));
    p.setBrush(QColor(235, 235, 235));
    p.drawEllipse(c, 9, 9);
    p.setBrush(Water);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 4, 4);
    p.setBrush(Qt::NoBrush);
}

// ---------------------------------------------------------------- the logo

void DrawLogo(QPainter& p)
{
    const QRectF all(0, 0, 320, 320);
    QPainterPath round;
    round.addRoundedRect(all.adjusted(4, 4, -4, -4), 36, 36);
    p.setClipPath(round);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(150, 200, 245));
    sky.setColorAt(1, Sky);
    p.fillRect(QRectF(0, 0, 320, 150), sky);
    Sun(p, QPointF(250, 55), 22);
    p.fillRect(QRectF(0, 150, 320, 60), RootZone);
    p.fillRect(QRectF(0, 210, 320, 50), TransitionZone);
    p.fillRect(QRectF(0, 260, 320, 60), Aquifer);
    // The water table, and the ground water below it.
    QPainterPath table;
    table.moveTo(0, 232);
    for (int x = 0; x <= 320; x += 10)
        table.lineTo(x, 232 + 4 * std::sin(x / 25.0));
    QPainterPath below = table;
    below.lineTo(320, 320);
    below.lineTo(0, 320);
    below.closeSubpath();
    p.fillPath(below, QColor(40, 110, 200, 70));
    p.setPen(QPen(Water, 3));
    p.drawPath(table);
    // Salt in the root zone.
    p.setPen(Qt::NoPen);
    p.setBrush(Salt);
    for (int k = 0; k < 26; ++k)
        p.drawRect(QRectF(12 + (k * 47) % 300, 160 + (k * 29) % 42, 5, 5));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 9; ++k)
        Plant(p, QPointF(24 + 34 * k, 150), 30 + (k % 3) * 8, k % 2 ? Crop : CropB);
    p.setClipping(false);
    p.setPen(QPen(QColor(40, 80, 120), 4));
    p.drawPath(round);
    TextIn(p, QRectF(8, 20, 200, 60), "Veltra", QColor(20, 60, 110), 48, true);
    TextIn(p, QRectF(6, 272, 308, 36), "agro-hydro-soil-salinity model", QColor(255, 255, 255), 16, true);
}

// ---------------------------------------------------------------- page pictures

void DrawInputPage(QPainter& p, const QString& caption)
{
    // An input file: a sheet with numbered groups of a label line and a data line.
    p.setPen(QPen(QColor(120, 120, 130), 2));
    p.setBrush(QColor(255, 255, 250));
    p.drawRect(QRectF(30, 20, 200, 250));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 10; ++k) {
        const double y = 50 + 21 * k;
        p.setPen(QPen(k % 2 ? QColor(60, 110, 180) : QColor(150, 150, 150), 4));
        p.drawLine(QPointF(50, y), QPointF(k % 2 ? 200 : 150, y));
    }
    // The file being edited, or that there is none yet.
    SetFont(p, 16, true);
    const QString name = caption.isEmpty() ? QString("new data set") : caption;
    TextIn(p, QRectF(10, 275, 240, 24), QFontMetrics(p.font()).elidedText(name, Qt::ElideMiddle, 236), Ink, 16, true);
    // The field it describes.
    p.fillRect(QRectF(250, 120, 150, 30), RootZone);
    p.fillRect(QRectF(250, 150, 150, 40), TransitionZone);
    p.fillRect(QRectF(250, 190, 150, 50), Aquifer);
    for (int k = 0; k < 5; ++k)
        Plant(p, QPointF(262 + 30 * k, 120), 26, Crop);
    Arrow(p, QPointF(238, 150), QPointF(252, 150), Ink, 3);
}

void DrawOutputPage(QPainter& p)
{
    // A table of seasons with a rising salinity beside it.
    p.setPen(QPen(QColor(120, 120, 130), 2));
    p.setBrush(QColor(255, 255, 250));
    p.drawRect(QRectF(20, 30, 180, 230));
    p.setBrush(Qt::NoBrush);
    // Heads over rows of bars: no number that could be taken for a result.
    SetFont(p, 13);
    p.setPen(Accent);
    p.drawText(QPointF(32, 55), "Year Season  Cr4");
    for (int r = 1; r < 9; ++r) {
        const double y = 50 + 23 * r;
        p.setPen(QPen(QColor(150, 150, 150), 4));
        p.drawLine(QPointF(40, y), QPointF(56, y));
        p.drawLine(QPointF(88, y), QPointF(100, y));
        p.setPen(QPen(QColor(60, 110, 180), 4));
        p.drawLine(QPointF(136, y), QPointF(166 + (r % 3) * 6, y));
    }
    p.setPen(QPen(Ink, 2));
    p.drawLine(QPointF(240, 250), QPointF(400, 250));
    p.drawLine(QPointF(240, 250), QPointF(240, 60));
    QPainterPath rise;
    rise.moveTo(245, 230);
    for (int k = 1; k <= 16; ++k)
        rise.lineTo(245 + 9.5 * k, 230 - 9.5 * k - 12 * (k % 2));
    p.setPen(QPen(QColor(0, 0, 255), 3));
    p.drawPath(rise);
    TextIn(p, QRectF(240, 265, 160, 24), "results", Ink, 16, true);
}

void DrawGraphicsPage(QPainter& p)
{
    p.setPen(QPen(QColor(0, 0, 255), 2));
    p.drawLine(QPointF(40, 250), QPointF(380, 250));
    p.drawLine(QPointF(40, 250), QPointF(40, 30));
    const QColor seasons[] = {QColor(128, 128, 0), QColor(192, 192, 192)};
    for (int k = 0; k < 12; ++k) {
        const double h = 60 + 70 * std::sin(k / 3.0) + 8 * k;
        p.fillRect(QRectF(50 + 27 * k, 250 - h, 24, h), seasons[k % 2]);
    }
    QPainterPath line;
    line.moveTo(52, 150);
    for (int k = 1; k <= 12; ++k)
        line.lineTo(52 + 27 * k, 150 - 40 * std::sin(k / 2.0) - 4 * k);
    p.setPen(QPen(QColor(255, 0, 0), 3));
    p.drawPath(line);
    TextIn(p, QRectF(40, 262, 340, 24), "graphs of the output groups", Ink, 16, true);
}

// ---------------------------------------------------------------- the figure of the input symbols

// The figure of the input symbols. Depths in the drawing; the columns of the
// vertical arrows are kept apart so that no label crosses an arrow.
namespace figure {

constexpr double S = 250;                    // the soil surface
constexpr double RootBottom = S + 90;        // Dr
constexpr double TransitionBottom = S + 250; // Dx
constexpr double AquiferBottom = S + 410;    // Dq
constexpr double TableY = S + 150, DrainY = S + 200;
constexpr double Left = 120, Right = 980;
constexpr double WellX = 935, ReuseX = 872;
constexpr double DrainsX[] = {300, 520, 740};

void DrawWeather(QPainter& p)
{
    // Sky, rain and sun.
    p.fillRect(QRectF(Left, 0, Right - Left, S), Sky);
    Cloud(p, QPointF(250, 52), 1.0);
    p.setPen(QPen(Water, 2));
    for (int k = 0; k < 9; ++k)
        p.drawLine(QPointF(214 + 10 * k, 78 + (k % 3) * 6), QPointF(208 + 10 * k, 94 + (k % 3) * 6));
    Text(p, QPointF(312, 60), "Pp  rain, salinity Cp", Ink, 16, true);
    Sun(p, QPointF(700, 52), 20);
}

void DrawReservoirs(QPainter& p)
{
    // The soil reservoirs on an impermeable base.
    p.fillRect(QRectF(Left, S, Right - Left, RootBottom - S), RootZone);
    p.fillRect(QRectF(Left, RootBottom, Right - Left, TransitionBottom - RootBottom), TransitionZone);
    p.fillRect(QRectF(Left, TransitionBottom, Right - Left, AquiferBottom - TransitionBottom), Aquifer);
    p.fillRect(QRectF(Left, AquiferBottom, Right - Left, 12), QColor(90, 80, 70));

    // The water table, lowered towards the drains, and the ground water below it.
    QPainterPath table;
    table.moveTo(Left, TableY);
    for (double x = Left; x <= Right; x += 5) {
        double y = TableY;
        for (double d : DrainsX)
            y += 24 * std::exp(-((x - d) * (x - d)) / 2200.0);
        table.lineTo(x, y);
    }
    QPainterPath saturated = table;
    saturated.lineTo(Right, AquiferBottom);
    saturated.lineTo(Left, AquiferBottom);
    saturated.closeSubpath();
    p.fillPath(saturated, QColor(40, 110, 200, 55));
    p.setPen(QPen(Water, 3, Qt::DashLine));
    p.drawPath(table);

    // The reservoirs and their constants.
    Text(p, QPointF(645, S + 26), "root zone:  Ptr  Per  Flr", Ink, 14, true);
    Text(p, QPointF(645, S + 46), "CA0  CB0  CU0", Ink, 14);
    Text(p, QPointF(645, RootBottom + 24), "transition zone:  Ptx  Pex  Flx", Ink, 14, true);
    Text(p, QPointF(645, RootBottom + 44), "Cx0  (CxA0, CxB0)", Ink, 14);
    Text(p, QPointF(645, TransitionBottom + 30), "aquifer:  Ptq  Peq  Flq", Ink, 14, true);
    Text(p, QPointF(645, TransitionBottom + 50), "Cq0", Ink, 14);
}

void DrawLandUse(QPainter& p)
{
    // Land use: A, B and U land, and their evapotranspiration.
    for (int k = 0; k < 6; ++k)
        Plant(p, QPointF(150 + 34 * k, S), 42, Crop);
    for (int k = 0; k < 5; ++k)
        Plant(p, QPointF(440 + 32 * k, S), 34, CropB);
    p.setPen(QPen(QColor(150, 130, 80), 2));
    for (int k = 0; k < 13; ++k)
        p.drawLine(QPointF(675 + 20 * k, S), QPointF(678 + 20 * k, S - 8));
    p.setPen(QPen(Ink, 1, Qt::DotLine));
    p.drawLine(QPointF(425, S - 110), QPointF(425, S));
    p.drawLine(QPointF(665, S - 110), QPointF(665, S));
    Text(p, QPointF(180, S - 85), "A land", Ink, 18, true);
    Text(p, QPointF(450, S - 85), "B land", Ink, 18, true);
    Text(p, QPointF(690, S - 85), "U land", Ink, 18, true);
    const std::pair<double, const char*> ep[] = {{300, "EpA"}, {560, "EpB"}, {780, "EpU"}};
    for (const auto& [x, name] : ep) {
        Arrow(p, QPointF(x, S - 90), QPointF(x, S - 130), Accent, 2.5);
        Text(p, QPointF(x + 8, S - 106), name, Accent, 15, true);
    }
}

void DrawCanal(QPainter& p)
{
    // The canal: field irrigation, bypass and canal losses.
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(Left, S - 22, 34, 22));
    p.setBrush(Qt::NoBrush);
    Text(p, QPointF(8, S - 48), "canal, Cic", Ink, 15, true);
    p.setPen(QPen(Flow, 3));
    p.drawLine(QPointF(Left + 17, S - 22), QPointF(Left + 17, S - 70));
    p.drawLine(QPointF(Left + 17, S - 70), QPointF(580, S - 70));
    Arrow(p, QPointF(330, S - 70), QPointF(330, S - 46));
    Text(p, QPointF(338, S - 50), "IaA", Flow, 15, true);
    Arrow(p, QPointF(580, S - 70), QPointF(580, S - 42));
    Text(p, QPointF(588, S - 50), "IaB", Flow, 15, true);
    Arrow(p, QPointF(Left, S - 11), QPointF(20, S - 11));
    Text(p, QPointF(26, S - 18), "Io", Flow, 15, true);
    Arrow(p, QPointF(Left + 12, S + 2), QPointF(Left + 12, S + 54));
    Text(p, QPointF(Left + 20, S + 50), "Lc", Flow, 15, true);

    // Surface water: drainage and runoff leave, run-in comes.
    const std::pair<double, const char*> so[] = {{355, "SoA"}, {600, "SoB"}, {800, "SoU"}};
    for (const auto& [x, name] : so) {
        Arrow(p, QPointF(x, S - 5), QPointF(x + 42, S - 5), Flow, 2.5);
        Text(p, QPointF(x + 2, S - 12), name, Flow, 14, true);
    }
    Arrow(p, QPointF(Right + 50, S - 30), QPointF(Right - 22, S - 30), Flow, 2.5);
    Text(p, QPointF(Right + 4, S - 38), "SiU", Flow, 14, true);
}

void DrawSoilWater(QPainter& p)
{
    // Percolation and capillary rise between the root zone and the ground water.
    Arrow(p, QPointF(230, S + 30), QPointF(230, RootBottom + 30));
    Text(p, QPointF(238, RootBottom + 24), "Lr", Flow, 15, true);
    Arrow(p, QPointF(620, RootBottom + 30), QPointF(620, S + 36));
    Text(p, QPointF(628, S + 72), "Rr", Flow, 15, true);

    // The drains, their discharge and its re-use.
    for (double d : DrainsX)
        Drain(p, QPointF(d, DrainY));
    Text(p, QPointF(330, DrainY + 34), "drains:  Dd  QH1  QH2  Frd", Ink, 15, true);
    Arrow(p, QPointF(750, DrainY), QPointF(ReuseX - 4, DrainY));
    Text(p, QPointF(772, DrainY - 8), "Gd", Flow, 15, true);
    Arrow(p, QPointF(ReuseX, DrainY - 4), QPointF(ReuseX, S + 6), QColor(0, 140, 120), 2.5);
    Text(p, QPointF(ReuseX - 44, DrainY - 32), "DAu", QColor(0, 140, 120), 14, true);
    Text(p, QPointF(ReuseX - 44, DrainY - 14), "DBu", QColor(0, 140, 120), 14, true);

    // Ground water flows through the aquifer.
    Arrow(p, QPointF(Left, S + 385), QPointF(Left + 110, S + 385));
    Text(p, QPointF(Left + 8, S + 374), "Gi, Ch", Flow, 15, true);
    Arrow(p, QPointF(Right - 80, S + 395), QPointF(Right + 40, S + 395));
    Text(p, QPointF(Right - 74, S + 384), "Go", Flow, 15, true);
}

void DrawWell(QPainter& p)
{
    // A well pumping from the aquifer, its water going to the fields.
    p.fillRect(QRectF(WellX - 5, S - 40, 10, S + 370 - (S - 40)), QColor(110, 110, 110));
    p.fillRect(QRectF(WellX - 5, S + 330, 10, 40), QColor(60, 60, 60));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(200, 60, 40));
    p.drawRect(QRectF(WellX - 16, S - 58, 32, 20));
    p.setBrush(Qt::NoBrush);
    Arrow(p, QPointF(WellX - 18, S - 50), QPointF(WellX - 60, S - 66), QColor(0, 140, 120), 2.5);
    Text(p, QPointF(WellX - 130, S - 44), "Gw  FAw FBw", QColor(0, 140, 120), 13, true);
}

void DrawDepths(QPainter& p)
{
    // Thicknesses and depths.
    Dimension(p, 80, S, RootBottom, "Dr");
    Dimension(p, 80, RootBottom, TransitionBottom, "Dx");
    Dimension(p, 80, TransitionBottom, AquiferBottom, "Dq");
    Arrow(p, QPointF(400, S + 4), QPointF(400, TableY - 2), Water, 2);
    Text(p, QPointF(408, TableY - 12), "Dw0, Dw", Water, 15, true);
    Arrow(p, QPointF(560, S + 4), QPointF(560, DrainY - 12), Ink, 1.5);
    Text(p, QPointF(566, DrainY - 16), "Dd", Ink, 15, true);
    Arrow(p, QPointF(178, S + 4), QPointF(178, TableY + 16), Accent, 1.5);
    Text(p, QPointF(140, TableY + 34), "Dc  critical depth for capillary rise", Accent, 13, true);

    Text(p, QPointF(Left, AquiferBottom + 40),
         "Each season (Ts months): fractions A, B and U = 1 - A - B; water in m per season.", Ink, 15);
}

} // namespace figure

void DrawFigure(QPainter& p)
{
    figure::DrawWeather(p);
    figure::DrawReservoirs(p);
    figure::DrawLandUse(p);
    figure::DrawCanal(p);
    figure::DrawSoilWater(p);
    figure::DrawWell(p);
    figure::DrawDepths(p);
}

// ---------------------------------------------------------------- drain geometry

// The drain geometry of the calculator: two parallel drains at spacing L, the
// water table between them h above drain level, the conductivities above and below
// drain level, the depth D of the layer below drain level down to the impermeable
// layer, and the wet perimeter U.
namespace drains {

constexpr double Surface = 46, Level = 180, Bottom = 292; // the soil, the drains, the impermeable layer
constexpr double Left = 70, Right = 410, Mid = (Left + Right) / 2;
constexpr double H = 70; // h: the water table midway, above drain level

// The water table at `x`: highest midway between the drains.
double TableAt(double x)
{
    const double u = (x - Mid) / (Mid - Left);
    return Level - 9 - (H - 9) * std::sqrt(std::max(0.0, 1 - u * u));
}

// The soil, its crops and the impermeable layer below.
void DrawGround(QPainter& p)
{
    p.fillRect(QRectF(0, 0, 480, Surface), Sky);
    p.fillRect(QRectF(0, Surface, 480, Level - Surface), RootZone);
    p.fillRect(QRectF(0, Level, 480, Bottom - Level), TransitionZone);
    p.fillRect(QRectF(0, Bottom, 480, 40), QColor(130, 130, 130));
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    for (double x = -40; x < 480; x += 14)
        p.drawLine(QPointF(x, Bottom + 38), QPointF(x + 38, Bottom));
    TextIn(p, QRectF(150, Bottom + 8, 180, 24), "impermeable layer", QColor(255, 255, 255), 14, true);
    for (int k = 0; k < 11; ++k)
        Plant(p, QPointF(26 + 42 * k, Surface), 22 + (k % 3) * 5, k % 2 ? Crop : CropB);
}

// The water table, the wet soil below it and the drain level.
void DrawWaterTable(QPainter& p)
{
    QPainterPath table;
    for (int k = 0; k <= 68; ++k) {
        const double x = Left + (Right - Left) * k / 68.0;
        const QPointF at(x, TableAt(x));
        if (k == 0)
            table.moveTo(at);
        else
            table.lineTo(at);
    }
    QPainterPath wet = table;
    wet.lineTo(Right, Level);
    wet.lineTo(Left, Level);
    wet.closeSubpath();
    p.fillPath(wet, QColor(150, 195, 240));
    p.setPen(QPen(Water, 3));
    p.drawPath(table);
    p.setPen(QPen(Ink, 1, Qt::DashLine));
    p.drawLine(QPointF(0, Level), QPointF(480, Level));
    Text(p, QPointF(Left + 16, Level - 6), "drain level", Ink, 13);
}

// Flow lines from the water table converging to the drains, the deeper ones
// through the layer below drain level; the drains and the wet perimeter U.
void DrawFlowToDrains(QPainter& p)
{
    for (double drain : {Left, Right}) {
        const double towards = drain < Mid ? 1 : -1; // from the drain towards the middle
        for (double k : {0.35, 0.8}) {
            const double x0 = drain + towards * k * (Mid - Left);
            const double depth = 20 + 70 * k;
            QPainterPath line;
            line.moveTo(x0, TableAt(x0) + 4);
            line.cubicTo(x0, Level + depth, drain + towards * 40, Level + depth * 0.7, drain + towards * 11, Level + 8);
            p.setPen(QPen(Flow, 1.5));
            p.drawPath(line);
            Arrow(p, line.pointAtPercent(0.9), QPointF(drain + towards * 11, Level + 8), Flow, 1.5);
        }
    }
    Drain(p, QPointF(Left, Level));
    Drain(p, QPointF(Right, Level));
    p.setPen(QPen(Accent, 2.5));
    p.drawArc(QRectF(Right - 13, Level - 13, 26, 26), 0, -180 * 16);
    Text(p, QPointF(Right + 14, Level + 20), "U", Accent, 16, true);
}

// The conductivities, the heights and depths, and the spacing from drain to drain.
void DrawMeasures(QPainter& p)
{
    Text(p, QPointF(Mid - 12, Level - H - 30), "Ka", Ink, 18, true);
    Text(p, QPointF(Mid - 12, Level + 62), "Kb", Ink, 18, true);
    Dimension(p, Mid + 40, Level - H, Level, "h");
    Dimension(p, 40, Surface, Level, "Dd");
    Dimension(p, 462, Level, Bottom, "D");
    const double y = Level + 100;
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(QPointF(Left, y - 6), QPointF(Left, y + 6));
    p.drawLine(QPointF(Right, y - 6), QPointF(Right, y + 6));
    Arrow(p, QPointF(Mid, y), QPointF(Left + 1, y), Ink, 1.5);
    Arrow(p, QPointF(Mid, y), QPointF(Right - 1, y), Ink, 1.5);
    p.fillRect(QRectF(Mid - 14, y - 12, 28, 24), TransitionZone);
    TextIn(p, QRectF(Mid - 14, y - 12, 28, 24), "L", Ink, 17, true);
}

} // namespace drains

void DrawDrainGeometry(QPainter& p)
{
    drains::DrawGround(p);
    drains::DrawWaterTable(p);
    drains::DrawFlowToDrains(p);
    drains::DrawMeasures(p);
}

} // namespace

QSize PictureDesignSize(TPictureKind kind)
{
    switch (kind) {
    case TPictureKind::Logo: return {320, 320};
    case TPictureKind::InputPage:
    case TPictureKind::OutputPage:
    case TPictureKind::GraphicsPage: return {420, 300};
    case TPictureKind::Figure: return {1040, 720};
    case TPictureKind::DrainGeometry: return {480, 332};
    }
    return {100, 100};
}

void DrawPicture(QPainter& painter, TPictureKind kind, const QString& caption)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    switch (kind) {
    case TPictureKind::Logo: DrawLogo(painter); break;
    case TPictureKind::InputPage: DrawInputPage(painter, caption); break;
    case TPictureKind::OutputPage: DrawOutputPage(painter); break;
    case TPictureKind::GraphicsPage: DrawGraphicsPage(painter); break;
    case TPictureKind::Figure: DrawFigure(painter); break;
    case TPictureKind::DrainGeometry: DrawDrainGeometry(painter); break;
    }
}

TPictureWidget::TPictureWidget(TPictureKind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize TPictureWidget::sizeHint() const
{
    return PictureDesignSize(kind_);
}

QSize TPictureWidget::minimumSizeHint() const
{
    return PictureDesignSize(kind_) / 2;
}

int TPictureWidget::heightForWidth(int width) const
{
    const QSize design = PictureDesignSize(kind_);
    return width * design.height() / design.width();
}

void TPictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QSize design = PictureDesignSize(kind_);
    const double scale =
        std::min(width() / static_cast<double>(design.width()), height() / static_cast<double>(design.height()));
    painter.translate((width() - design.width() * scale) / 2, (height() - design.height() * scale) / 2);
    painter.scale(scale, scale);
    DrawPicture(painter, kind_, caption_);
}

void TPictureWidget::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

} // namespace veltra
