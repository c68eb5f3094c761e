#pragma once
// The explanatory texts of the window and its auxiliary windows: the introduction,
// the lists of input and output symbols, the rotation-key help and the thank-you
// of the exit window (the drainage explanation is DrainExplanation.h's). Lines are
// separated by "\n"; the symbol lists are laid out for a fixed-width font.
#include <string>

namespace veltra {

const std::string& IntroText();
const std::string& InputSymbolsText();
const std::string& OutputSymbolsText();
const std::string& RotationKeyHelpText();
const std::string& ThankYouText();

} // namespace veltra
