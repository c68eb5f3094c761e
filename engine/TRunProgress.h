#pragma once
// Where the driver reports its progress: the window's busy box and a plain wait.
// The command line passes one that prints nothing and does not wait.
#include <string>

namespace veltra {

class TRunProgress {
public:
    virtual ~TRunProgress() = default;
    virtual void BusyReplaceText(const std::string& text) = 0;
    virtual void Pause(int milliseconds) = 0;
};

class TSilentProgress final : public TRunProgress {
public:
    void BusyReplaceText(const std::string&) override {}
    void Pause(int) override {}
};

} // namespace veltra
