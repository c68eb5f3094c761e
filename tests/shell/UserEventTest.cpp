// A failure that ends an event of the user reaches the user as one message, worded
// by who is at fault, and never escapes the event.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "model/TVeltraError.h"
#include "shell/ShellOps.h"

namespace veltra {
namespace {

TEST(UserEvent, FailuresAreShownOnceAndWordedByWhoIsAtFault)
{
    struct TCase {
        std::function<void()> Body;
        std::vector<std::string> Shown;
    };
    const std::vector<TCase> cases{
        {[] {}, {}},
        {[] { throw TVeltraError(TErrorKind::File, "a.inp could not be read"); }, {"a.inp could not be read"}},
        {[] { throw TVeltraError(TErrorKind::Internal, "no record"); }, {"Veltra: internal error: no record"}},
        {[] { throw std::runtime_error("out of luck"); }, {"Veltra: internal error: out of luck"}},
        {[] { throw 7; }, {"Veltra: internal error: an unknown failure ended this action."}},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> shown;
        HandleUserEvent(c.Body, [&](const std::string& text) { shown.push_back(text); });
        EXPECT_EQ(shown, c.Shown);
    }
    // A report that fails itself ends there too.
    EXPECT_NO_THROW(HandleUserEvent([] { throw std::runtime_error("x"); },
                                    [](const std::string&) { throw std::runtime_error("no window"); }));
}

} // namespace
} // namespace veltra
