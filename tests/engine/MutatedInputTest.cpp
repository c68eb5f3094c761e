// Damaged input files, made by mutating the reference inputs with a fixed seed:
// the reader refuses them or reads them, and whatever it reads the check reports
// or the engine refuses or runs to its end. Under the sanitizer build this proves
// that no damaged file crashes or hangs the program.
#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "model/InputCheck.h"

namespace veltra {
namespace {

TEST(MutatedInput, IsRefusedOrRunsSafely)
{
    // Sorted, so that the fixed seed makes the same files whatever the directory order.
    const std::vector<std::filesystem::path> inputs = test::ReferenceInputFiles();
    ASSERT_GE(inputs.size(), 20u) << "too few inputs under " << VELTRA_REFERENCE_DIR;
    std::vector<std::string> seeds;
    for (const auto& f : inputs)
        seeds.push_back(test::ReadFile(f));

    const char* tokens[] = {"0", "-1", "1e308", "-0",    "nan",   "9",    "255", "256", "0.0",  "1",
                            "2", "5",  "10",    "0.001", "0.999", "-0.5", "100", " ",   "\r\n", "x"};
    std::mt19937 random(20261206);
    test::TEngineRun run("mutated");
    int read = 0, ran = 0;
    for (int i = 0; i < 400; ++i) {
        std::string text = seeds[random() % seeds.size()];
        for (int m = 1 + static_cast<int>(random() % 4); m > 0 && !text.empty(); --m) {
            const std::size_t p = random() % text.size();
            switch (random() % 4) {
            case 0: text[p] = "0123456789.-e \r\n"[random() % 16]; break;
            case 1: text.erase(p, 1 + random() % 5); break;
            case 2: {
                const std::size_t a = text.find_first_not_of(" \r\n", p);
                if (a == std::string::npos)
                    break;
                std::size_t b = text.find_first_of(" \r\n", a);
                if (b == std::string::npos)
                    b = text.size();
                text.replace(a, b - a, tokens[random() % 20]);
                break;
            }
            default: text.resize(p); break;
            }
        }
        TInputRecord rec;
        std::istringstream in(text);
        try {
            ReadInputStream(in, "mutated.inp", rec);
        } catch (const TInputFileError& e) {
            EXPECT_NE(std::string(e.what()).find("mutated.inp"), std::string::npos);
            continue;
        }
        ++read;
        InputErrorLines(rec);
        ValidateBeforeSave(rec);
        if (!EngineRefusal(rec).empty())
            continue;
        rec.Ny = std::min<std::uint8_t>(rec.Ny, 2);
        rec.Ky = 0;
        run.St = {}, run.Carry = {};
        run.Start(rec, "m.inp");
        ++ran;
    }
    EXPECT_GT(read, 50);
    EXPECT_GT(ran, 50);
}

} // namespace
} // namespace veltra
