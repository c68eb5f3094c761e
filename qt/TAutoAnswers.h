#pragma once
// Answers given without a person at the screen: `veltra-gui --screenshots` and the
// window's own tests run the real window with these instead of modal boxes and
// file dialogs. Messages are collected (and passed to Log), questions take the
// queued answers and then DefaultYes, file dialogs take the queued paths and then
// report a cancel.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace veltra {

struct TAutoAnswers {
    std::deque<std::optional<std::string>> Files;
    std::deque<bool> YesNo;
    bool DefaultYes = true;
    std::vector<std::string> Shown; // "message: ..." and "question: ...", in order
    // Beside each line of Shown: the caption of the window the box would stand over.
    std::vector<std::string> Over;
    std::function<void(const std::string&)> Log;

    void Record(const std::string& line)
    {
        Shown.push_back(line);
        if (Log)
            Log(line);
    }
    bool NextYesNo()
    {
        if (YesNo.empty())
            return DefaultYes;
        const bool answer = YesNo.front();
        YesNo.pop_front();
        return answer;
    }
    std::optional<std::string> NextFile()
    {
        if (Files.empty())
            return std::nullopt;
        std::optional<std::string> file = Files.front();
        Files.pop_front();
        return file;
    }
};

} // namespace veltra
