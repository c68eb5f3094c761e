#pragma once
// The contract between a program that draws charts and the module that paints
// them with a toolkit. The module is loaded at run time, so that a program that
// does not draw (most of what `veltra` does) never loads the toolkit.
//
// The module exports one C function named CreateCanvasSymbol of type
// TCreateCanvasFunction. It returns a new canvas that the caller deletes, or
// nullptr when the caller was built against another CanvasInterfaceVersion. The
// module sets up what the toolkit needs (its application object) with the first
// canvas and tears it down with that canvas; it must stay loaded while any canvas lives.
#include "graphs/TCanvas.h"

namespace veltra {

// Raised whenever TCanvas or this contract changes.
constexpr int CanvasInterfaceVersion = 3;

constexpr const char* CreateCanvasSymbol = "veltra_create_canvas";

extern "C" {
using TCreateCanvasFunction = TCanvas*(int interfaceVersion);
}

} // namespace veltra
