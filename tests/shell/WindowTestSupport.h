#pragma once
// A window without a toolkit for the workflow tests: the window logic on the
// scripted shell operations, started in a scratch folder of its own.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ExampleInputs.h"
#include "model/InputFile.h"
#include "shell/UMainForm.h"
#include "shell/WindowMessages.h"
#include "support/ControlChecks.h"
#include "support/TFakeShellOps.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra::test {

namespace fs = std::filesystem;

// The lines of a text file (CR LF ends removed).
inline std::vector<std::string> FileLines(const fs::path& path)
{
    return Lines(ReadFile(path));
}

using TLines = std::vector<std::string>;

// The record an input file holds.
inline TInputRecord InputOf(const std::string& path)
{
    TInputRecord rec;
    ReadNamedInputFile(path, rec);
    return rec;
}

inline std::string Message(const std::string& text)
{
    return "message: " + text;
}
inline std::string Question(const std::string& text)
{
    return "question: " + text;
}
// The dialogue of a " Save / run " that asks for a name, then goes on with `then`.
inline TLines SaveAs(const TLines& then)
{
    TLines out{Message(msg::ChooseSaveName), "save: Input files (*.inp *.INP)"};
    out.insert(out.end(), then.begin(), then.end());
    return out;
}

// The YEAR numbers of the records of a result file, in file order.
inline std::vector<int> YearsOf(const fs::path& res)
{
    std::vector<int> years;
    for (const std::string& line : FileLines(res))
        if (line.rfind("  YEAR: ", 0) == 0)
            years.push_back(std::atoi(line.c_str() + 8));
    return years;
}

// `veltra run input` in `folder`, as a user of the command line runs it.
inline void RunTool(const fs::path& folder, const std::string& input)
{
    const std::string command =
        "cd '" + folder.string() + "' && '" + VELTRA_BINARY + "' run " + input + " > veltra.out 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(folder / "veltra.out");
}

// Records the events the window tells the input editor.
class TRecordingEditor final : public TInputEditorHooks {
public:
    explicit TRecordingEditor(const TInputRecord& rec) : rec_(rec) {}
    int InputPages = 0;      // Input page shown
    int Fills = 0;           // events that fill the pages from the record
    TInputRecord LastFilled; // the record as the last of them saw it
    int Saves = 0;           // groups saved with "Save group", as the test says
    bool Loaded = false;     // a file was read or saved

    void InputPageShown() override { ++InputPages; }
    void InputFileOpened() override { Fill(true); }
    void ResultInputRead() override { Fill(true); }
    void SavingInput() override {}
    void InputSaved() override { Loaded = true; }
    void RunFinished() override { Fill(false); }
    void KeysReset() override {}
    bool DataLoaded() const override { return Loaded; }
    int GroupSaves() const override { return Saves; }

private:
    void Fill(bool read)
    {
        ++Fills;
        LastFilled = rec_;
        Loaded = Loaded || read;
    }
    const TInputRecord& rec_;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { StartWindow(); }

    // The window as created at the program's start (its start folder is dir_).
    void StartWindow(TFileSystem& files = RealFileSystem())
    {
        logic_ = std::make_unique<TMainFormLogic>(ops_, dm_, st_, carry_, *hooks_, files);
        logic_->Start();
    }

    std::string Path(const std::string& name) const { return scratch_.Path(name); }

    // The field example with changes, written as an input file in the scratch folder.
    std::string WriteInput(const std::string& name, const TInputRecord& rec) const
    {
        const std::string path = Path(name);
        WriteInputFile(rec, path);
        return path;
    }
    static TInputRecord Field(int ny = 10, int ky = 0)
    {
        TInputRecord rec = FieldExampleRecord();
        rec.Ny = static_cast<std::uint8_t>(ny);
        rec.Ky = static_cast<std::uint8_t>(ky);
        return rec;
    }

    // "Open input file" with the file chosen, then the Input page shown.
    void OpenAndShowInput(const std::string& path)
    {
        ops_.FileAnswers.push_back(path);
        logic_->InputOpen();
        logic_->PageShown(TPage::Input);
    }

    // The file dialogs answered with `files` and the questions with `answers`, then
    // `action`, which must take every answer.
    void Pick(std::vector<std::optional<std::string>> files, void (TMainFormLogic::*action)(),
              std::vector<bool> answers = {})
    {
        ops_.FileAnswers.assign(files.begin(), files.end());
        ops_.YesNoAnswers.assign(answers.begin(), answers.end());
        (logic_.get()->*action)();
        EXPECT_TRUE(ops_.FileAnswers.empty()) << "a file dialog did not come";
        EXPECT_TRUE(ops_.YesNoAnswers.empty()) << "a question did not come";
    }

    // " Save / run " with the given answers (file dialogs and questions in order).
    void SaveRun(std::vector<std::optional<std::string>> files, std::vector<bool> answers)
    {
        Pick(std::move(files), &TMainFormLogic::InputSave, std::move(answers));
    }

    // " Save / run " as above; the messages, questions and file dialogs it gave.
    std::vector<std::string> SaveRunDialogue(std::vector<std::optional<std::string>> files, std::vector<bool> answers)
    {
        const std::size_t mark = ops_.Events.size();
        SaveRun(std::move(files), std::move(answers));
        return DialogueSince(mark);
    }

    // Messages and questions from `from` on, each prefixed by its kind.
    std::vector<std::string> DialogueSince(std::size_t from) const
    {
        std::vector<std::string> out;
        for (std::size_t i = from; i < ops_.Events.size(); ++i) {
            const std::string& e = ops_.Events[i];
            if (e.rfind("message: ", 0) == 0 || e.rfind("question: ", 0) == 0 || e.rfind("save: ", 0) == 0 ||
                e.rfind("open: ", 0) == 0 || e.rfind("folder: ", 0) == 0)
                out.push_back(e);
        }
        return out;
    }

    bool Visible(const std::string& control) { return ops_.Controls[control].Visible; }
    bool Enabled(const std::string& control) { return ops_.Controls[control].Enabled; }

    TScratchFolder scratch_{"veltra-window", true};
    const fs::path& dir_ = scratch_.Dir;
    TFakeShellOps ops_;
    TDataMod dm_;
    TEngineState st_;
    TAnnualCarry carry_;
    TRecordingEditor editor_{dm_.Rec};
    TInputEditorHooks* hooks_ = &editor_; // a fixture may put the real editor behind the window
    std::unique_ptr<TMainFormLogic> logic_;
};

} // namespace veltra::test
