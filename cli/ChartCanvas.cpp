#include "cli/ChartCanvas.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "graphs/CanvasModule.h"
#include "model/TVeltraError.h"

namespace veltra::cli {

namespace fs = std::filesystem;

namespace {

// The folder of the running executable, whatever the current folder and however
// the program was called.
fs::path ExecutableFolder()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path();
}

[[noreturn]] void CannotUse(const fs::path& module, const std::string& why)
{
    throw TVeltraError(TErrorKind::File, "the chart module " + module.string() + " " + why);
}

} // namespace

std::unique_ptr<TCanvas> LoadChartCanvas()
{
    const fs::path folder = ExecutableFolder();
    const std::vector<fs::path> places = {
        folder / VELTRA_CANVAS_MODULE,
        (folder / ".." / "lib" / "veltra" / VELTRA_CANVAS_MODULE).lexically_normal(),
    };
    for (const fs::path& module : places) {
        std::error_code ec;
        if (!fs::is_regular_file(module, ec))
            continue;
        // Never closed: the canvas's code lives in the module, and Qt is not made to be unloaded.
        void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = dlerror();
            CannotUse(module, std::string("could not be loaded: ") + (why ? why : "unknown reason"));
        }
        auto* create = reinterpret_cast<TCreateCanvasFunction*>(dlsym(handle, CreateCanvasSymbol));
        if (create == nullptr)
            CannotUse(module, std::string("has no function ") + CreateCanvasSymbol);
        TCanvas* canvas = create(CanvasInterfaceVersion);
        if (canvas == nullptr)
            CannotUse(module, "belongs to another version of veltra");
        return std::unique_ptr<TCanvas>(canvas);
    }
    throw TVeltraError(TErrorKind::File, std::string("charts need the module ") + VELTRA_CANVAS_MODULE +
                                             ", which is neither at " + places[0].string() + " nor at " +
                                             places[1].string());
}

} // namespace veltra::cli
