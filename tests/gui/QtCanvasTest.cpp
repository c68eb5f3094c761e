// The chart painted by the Qt canvas (the application comes from MainFormTest's
// environment). The pictures veltra chart writes, their sizes, bars, axes, SVG and
// PDF headers and the refused picture types: tests/cli/chart.sh.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include <QImage>

#include "graphs/Chart.h"
#include "graphs/ChartPicture.h"
#include "qt/canvas/TQtCanvas.h"

namespace veltra {
namespace {

TEST(QtCanvas, PaintsSavesAndLoadsTheChart)
{
    // Water level -1.5 m over 2 seasons of 6 months, years 0 to 3: axis -2 .. 0, level
    // at y = 295; each season 75 pixels wide.
    auto store = std::make_unique<TGroupStore>();
    TInputRecord rec;
    rec.Ns = 2, rec.Ny = 3, rec.Ts[1] = 6, rec.Ts[2] = 6;
    store->GroupTag = "Dw";
    store->SeriesCount = 1;
    store->RecordCount = 8;
    store->GroupSeries[5].assign(8, -1.5);
    store->TableHeads = {"", "\"Level of the water table\" ", "\"second line\" ", ""};
    TQtCanvas canvas;
    ASSERT_EQ(DrawChart(*store, rec, canvas), TChartOutcome::Drawn);
    const QImage& img = canvas.Image();
    ASSERT_EQ(img.size(), QSize(762, 486));
    EXPECT_EQ(img.pixel(100, 294), qRgb(128, 128, 0));   // record 0 (season 1) down to the level
    EXPECT_EQ(img.pixel(200, 296), qRgb(255, 255, 255)); // and not below it
    // Texts: dark red labels and teal headings on their own background.
    std::map<QRgb, int> count;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ++count[img.pixel(x, y)];
    EXPECT_GT(count[qRgb(128, 0, 0)], 50);
    EXPECT_GT(count[qRgb(0, 128, 128)], 50);
    EXPECT_GT(count[qRgb(250, 255, 245)], 500);
    EXPECT_GT(canvas.TextWidth("-10.0", true), canvas.TextWidth("0.0", true));
    EXPECT_LT(canvas.TextHeight(true), 20);

    // Both formats are lossless: the picture comes back pixel for pixel, and a picture
    // opened from a file is embedded in a vector picture as it is.
    const auto dir = std::filesystem::temp_directory_path() / ("veltra_qt_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const char* name : {"chart.bmp", "chart.PNG"}) {
        const std::string path = (dir / name).string();
        ASSERT_NO_THROW(SaveChartPicture(canvas, path)) << name;
        TQtCanvas other;
        ASSERT_TRUE(other.LoadFromFile(path)) << name;
        EXPECT_EQ(other.Image(), img) << name;
        EXPECT_NE(other.EncodedPicture("SVG").find("<image"), std::string::npos) << name; // embedded as it is
    }
    // The same drawing as vectors: the bars' colour in the SVG, a PDF page of 762 x 486.
    EXPECT_NE(canvas.EncodedPicture("SVG").find("fill=\"#c0c0c0\""), std::string::npos); // the season-2 bars
    EXPECT_NE(canvas.EncodedPicture("PDF").find("/MediaBox [0 0 762.000000 486.000000]"), std::string::npos);
    EXPECT_FALSE(canvas.LoadFromFile((dir / "missing.bmp").string()));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace veltra
