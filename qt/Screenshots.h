#pragma once
// `veltra-gui --screenshots DIR`: the bundled example run through the real window
// (every question answered yes), then a PNG of every page, every auxiliary window
// and every data-group panel. Needs no display (the program runs on the offscreen
// platform).
#include <iosfwd>
#include <string>

namespace veltra {

// Shows the guided entry of a new data set, writes DIR/field.inp, opens it, saves
// it over itself, runs it, shows output group 1 and its chart, shows every
// data-group panel of the example and the calculator with a worked example, then
// opens DIR/wells.inp for the groups of pumped wells and the farmers' fields of
// the General data group, runs DIR/years99.inp (the field example over 99 years)
// and wells.inp for the charts of a long run and of four seasons, and saves the
// pictures into DIR; the runs' files stay there. Every message the window gives goes to `log`. Returns the exit status:
// 0, or 1 when the run did not give its output (the reason on `log`).
int TakeScreenshots(const std::string& folder, std::ostream& log);

} // namespace veltra
