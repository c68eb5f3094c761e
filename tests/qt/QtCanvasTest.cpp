#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>

#include "graphs/Chart.h"
#include "qt/canvas/TQtCanvas.h"

namespace veltra {
namespace {

// Painting text needs a QGuiApplication; the offscreen platform needs no display.
class TGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QCoreApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QGuiApplication(argc_, argv_);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[32] = "veltra_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const GuiEnvironment = ::testing::AddGlobalTestEnvironment(new TGuiEnvironment);

QRgb Rgb(int r, int g, int b)
{
    return qRgb(r, g, b);
}

std::filesystem::path TempDir()
{
    auto dir = std::filesystem::temp_directory_path() / ("veltra_qt_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

// Water-table chart of 2 seasons over 3 years: bars by season below the level 0.
void DrawWaterTable(TCanvas& canvas)
{
    auto storage = std::make_unique<TGroupStore>();
    TGroupStore& store = *storage;
    TInputRecord rec;
    rec.Ns = 2;
    rec.Ny = 3;
    rec.Ts[1] = 6;
    rec.Ts[2] = 6;
    rec.FileName = "field.res";
    store.GroupTag = "Dw";
    store.SeriesCount = 1;
    store.RecordCount = 8;
    store.GroupSeries[5] = {-1.5, -1.5, -1.5, -1.5, -1.5, -1.5, -1.5, -1.5};
    store.SeriesPresent[5] = true;
    store.TableHeads = {"", "\"Level of the water table\" ", "\"second line\" ", ""};
    ASSERT_EQ(DrawChart(store, rec, canvas), TChartOutcome::Drawn);
}

TEST(QtCanvas, PaintsTheChartInItsColours)
{
    TQtCanvas canvas;
    ASSERT_EQ(canvas.Image().width(), 762);
    ASSERT_EQ(canvas.Image().height(), 486);
    DrawWaterTable(canvas);
    const QImage& img = canvas.Image();
    // Axis -2..0 in 4 steps: level -1.5 sits at y = 295. Season 1 bars are olive, season 2 silver.
    EXPECT_EQ(img.pixel(200, 200), Rgb(192, 192, 192)); // point 1: 170..270
    EXPECT_EQ(img.pixel(300, 200), Rgb(128, 128, 0));   // point 2: 270..370
    EXPECT_EQ(img.pixel(200, 320), Rgb(255, 255, 255)); // below the water table
    EXPECT_EQ(img.pixel(70, 300), Rgb(0, 0, 255));      // value axis
    EXPECT_EQ(img.pixel(400, 370), Rgb(0, 0, 255));     // time axis
    EXPECT_EQ(img.pixel(700, 480), Rgb(255, 255, 255)); // background
    // Texts stand on their own background and are dark red (labels) or teal (headings).
    int labelPixels = 0, headPixels = 0, textBack = 0;
    for (int y = 0; y < 486; ++y)
        for (int x = 0; x < 762; ++x) {
            const QRgb p = img.pixel(x, y);
            labelPixels += p == Rgb(128, 0, 0);
            headPixels += p == Rgb(0, 128, 128);
            textBack += p == Rgb(250, 255, 245);
        }
    EXPECT_GT(labelPixels, 50);
    EXPECT_GT(headPixels, 50);
    EXPECT_GT(textBack, 500);

    EXPECT_GT(canvas.TextHeight(false), 8);
    EXPECT_LT(canvas.TextHeight(true), 20);
    EXPECT_GT(canvas.TextWidth("-10.0", false), canvas.TextWidth("0.0", false));
}

TEST(QtCanvas, SavesBitmapAndPngAndLoadsThemBack)
{
    TQtCanvas canvas;
    DrawWaterTable(canvas);
    const auto dir = TempDir();
    for (const char* name : {"chart.bmp", "chart.PNG"}) {
        const std::string path = (dir / name).string();
        ASSERT_TRUE(canvas.SaveToFile(path)) << name;
        QImage back(QString::fromStdString(path));
        ASSERT_EQ(back.size(), QSize(762, 486)) << name;
        // Both formats are lossless: the picture comes back pixel for pixel.
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), canvas.Image()) << name;

        TQtCanvas other;
        ASSERT_TRUE(other.LoadFromFile(path));
        EXPECT_EQ(other.Image(), canvas.Image()) << name;
    }
    EXPECT_FALSE(canvas.SaveToFile((dir / "chart.jpg").string()));
    EXPECT_FALSE(canvas.LoadFromFile((dir / "missing.bmp").string()));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace veltra
