// veltra calc [--] KA KB D U P L: the drainage reaction factors QH1 and QH2 from soil
// and drain properties, checked and computed as the calculator's "Calculate" does,
// then the rates of fall of the water table QH1/p and QH2/p that the window shows
// beside them.
#include <array>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "model/NumberEntry.h"
#include "model/TVeltraError.h"
#include "results/TextLists.h"
#include "runs/ReactionFactors.h"

namespace veltra::cli {

namespace {

struct TArgument {
    TAlfaField Field;
    const char* Name;
    const char* Help;
};

const std::array<TArgument, 6> Arguments{{
    {TAlfaField::Ka, "KA", "Hydraulic conductivity above drain level (m/day)"},
    {TAlfaField::Kb, "KB", "Hydraulic conductivity below drain level (m/day)"},
    {TAlfaField::D, "D", "Depth of the soil layer below drain level (m)"},
    {TAlfaField::U, "U", "Wet perimeter of the drain or ditch (m)"},
    {TAlfaField::P, "P", "Drainable (effective) porosity of the top soil (%)"},
    {TAlfaField::L, "L", "Drain spacing (m)"},
}};

void Calc(const std::array<std::string, 6>& texts)
{
    TAlfaInputs in;
    // The messages the window gives when each field is left, then the refusal of
    // "Calculate" as the last line. Calculate judges the values as given: a Kb of -1
    // is refused, where the window would have emptied the field and taken 0.
    std::vector<std::string> messages;
    for (std::size_t i = 0; i < Arguments.size(); ++i) {
        const auto value = ReadTypedNumber(texts[i]);
        if (!value)
            throw TVeltraError(TErrorKind::Usage, std::string(Arguments[i].Name) + ": " + NotANumberMessage(texts[i]));
        in[Arguments[i].Field] = *value;
        const std::string message = AlfaLeaveMessage(Arguments[i].Field, *value);
        if (!message.empty())
            messages.push_back(message);
    }
    const auto result = ComputeReactionFactors(in);
    if (!result) {
        messages.push_back(AlfaRefusal);
        throw TVeltraError(TErrorKind::Input, JoinLines(messages));
    }
    std::cout << "QH1 = " << ReactionFactorText(result->QH1) << "\n";
    std::cout << "QH2 = " << ReactionFactorText(result->QH2) << "\n";
    std::cout << "QH1/p = " << ReactionFactorText(result->FallQH1) << "\n";
    std::cout << "QH2/p = " << ReactionFactorText(result->FallQH2) << "\n";
}

} // namespace

void AddCalcCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand(
        "calc",
        "Drainage reaction factors QH1 and QH2, and QH1/p and QH2/p, from soil and drain properties (negative values "
        "after --)");
    auto texts = std::make_shared<std::array<std::string, 6>>();
    for (std::size_t i = 0; i < Arguments.size(); ++i)
        cmd->add_option(Arguments[i].Name, (*texts)[i], Arguments[i].Help)->required();
    cmd->callback([texts, &status]() {
        Calc(*texts);
        status = 0;
    });
}

} // namespace veltra::cli
