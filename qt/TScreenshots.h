#pragma once
// `veltra-gui --screenshots DIR`: the bundled example run through the real window
// (every question answered yes), then a PNG of every page and every auxiliary
// window. Needs no display (the program runs on the offscreen platform).
#include <iosfwd>
#include <string>

namespace veltra {

// Writes DIR/field.inp, opens it, saves it as DIR/field.INP, runs it, shows output
// group 1 and its chart, and saves the pictures into DIR; the run's files stay
// there. Every message the window gives goes to `log`. Returns the exit status:
// 0, or 1 when the run did not give its output (the reason on `log`).
int TakeScreenshots(const std::string& folder, std::ostream& log);

} // namespace veltra
