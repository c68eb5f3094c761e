#pragma once
// The canvas `veltra chart` paints on, from the canvas module (graphs/CanvasModule.h):
// the module and the toolkit behind it are loaded only when a chart is drawn.
#include <memory>

#include "graphs/TCanvas.h"

namespace veltra::cli {

// Loads the module found first beside the executable (the build tree), then in
// ../lib/veltra/ from the executable's folder (an installation), and returns a new
// canvas from it. The module stays loaded until the process ends. Throws
// TVeltraError (File) naming the file(s) looked for when no module can be used.
std::unique_ptr<TCanvas> LoadChartCanvas();

} // namespace veltra::cli
