#pragma once
// The shell operations on Qt Widgets: modal boxes, file dialogs, the status line,
// the busy box, pages, controls registered by name, the result text, the grid, the
// auxiliary windows, the file system, printing, the clipboard and the chart picture.
//
// A run blocks the window; while it does, the busy box and the status line are
// repainted at once (paint only: no events are processed, so no user input arrives
// in the middle of a run).
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "qt/canvas/TQtCanvas.h"
#include "shell/ShellOps.h"

class QLabel;
class QObject;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QWidget;
class QWindow;

namespace veltra {

// How a control named by the window logic is shown, enabled and given text.
struct TControlEntry {
    std::function<void(bool)> SetVisible;
    std::function<void(bool)> SetEnabled;
    std::function<void(const std::string&)> SetText;
    std::function<std::string()> GetText;
};

// Plain control state of a widget; the text of a label, field, button, memo or
// group box, and of a combo box the chosen item (a text no item has: none chosen).
TControlEntry WidgetEntry(QWidget* widget);

// The caption of the message boxes and questions: the application's title.
inline constexpr const char* ApplicationTitle = "Agro-Hydro-Soil-Salinity model";

// Names the application for the desktop. Its title is no display name: the window
// system would add that to every window's caption, and the main window's caption
// holds the title already.
void NameApplication();

class TQtShellOps final : public ShellOps {
public:
    // `parent` is the main window.
    explicit TQtShellOps(QWidget* parent);
    ~TQtShellOps() override;

    // While one lives, the boxes and dialogs belong to `window`: the events of an
    // auxiliary window (the calculator's fields) raise their messages over it.
    class TOwner {
    public:
        TOwner(TQtShellOps& ops, QWidget* window);
        ~TOwner();
        TOwner(const TOwner&) = delete;
        TOwner& operator=(const TOwner&) = delete;

    private:
        TQtShellOps& ops_;
        QPointer<QWidget> previous_;
    };

    // The window a box or dialog shown now belongs to and stands over: the owner
    // of the running event, else the window last brought to the front (by the user
    // or by ShowWindow) while it is visible, else the main window. A message over
    // the window it concerns leaves that window in front when it closes.
    QWidget* FrontWindow() const;

    // ---- Wiring by the window
    void Register(const std::string& name, TControlEntry entry);
    void SetPages(QTabWidget* pages) { pages_ = pages; }
    void SetStatusLabel(QLabel* label) { status_ = label; }
    void SetBusyBox(QPlainTextEdit* box) { busy_ = box; }
    void SetTextView(QPlainTextEdit* view) { text_ = view; }
    void SetGrid(QTableWidget* grid) { grid_ = grid; }
    void SetWindow(TWindow window, QWidget* widget) { windows_[window] = widget; }
    // Shows the exit window (modal) and ends the program.
    void SetExitWindow(std::function<void()> showAndEnd) { exit_ = std::move(showAndEnd); }
    TQtCanvas& Canvas() { return canvas_; }

    // ---- ShellOps
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(TDialog dialog) override;
    std::optional<std::string> ChooseSaveFile(TDialog dialog) override;
    void SetDialogFolder(TDialog dialog, const std::string& folder) override;
    std::optional<std::string> ChooseFolder(TDialog dialog) override;
    void SetStatus(const std::string& text) override;

    void BusyShow() override;
    void BusyClear() override;
    void BusyAddLine(const std::string& line) override;
    void BusyReplaceText(const std::string& text) override;
    void BusyHide() override;
    void Pause(int milliseconds) override;

    void ShowPage(TPage page) override;

    void ShowControl(const std::string& control) override;
    void HideControl(const std::string& control) override;
    void EnableControl(const std::string& control) override;
    void DisableControl(const std::string& control) override;
    void SetControlText(const std::string& control, const std::string& text) override;
    std::string GetControlText(const std::string& control) override;

    void TextClear() override;
    void TextAddLine(const std::string& line) override;
    void TextShow() override;
    void TextHide() override;

    void GridSetSize(int columns, int rows) override;
    void GridSetCell(int column, int row, const std::string& text) override;
    void GridShow() override;
    void GridHide() override;

    void ShowWindow(TWindow window) override;
    void HideWindow(TWindow window) override;

    void PrintFile(const std::string& path) override;
    void PrintText(const std::string& title, const std::vector<std::string>& lines) override;
    void PrintPicture(const std::string& title) override;
    void SetClipboardText(const std::string& text) override;

    TCanvas& Picture() override { return canvas_; }

private:
    const TControlEntry& Entry(const std::string& control) const;
    std::optional<std::string> ChooseFile(TDialog dialog);
    void RepaintBusy();
    void FlushText();

    // One of the program's own windows (not a box, dialog or popup), or null.
    QWidget* OwnWindow(const QWindow* window) const;

    QWidget* parent_;
    QPointer<QWidget> owner_;           // of the running event
    QPointer<QWidget> front_;           // last brought to the front
    std::unique_ptr<QObject> watching_; // the focus-window connection lives as long as this

    QTabWidget* pages_ = nullptr;
    QLabel* status_ = nullptr;
    QPlainTextEdit* busy_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::map<std::string, TControlEntry> controls_;
    std::map<TWindow, QWidget*> windows_;
    std::map<TDialog, std::string> folders_;
    std::function<void()> exit_;
    std::vector<std::string> pendingLines_; // result lines not yet handed to the view
    bool cleared_ = false;                  // the view is to be emptied first
    TQtCanvas canvas_;
};

// Shell operations that stand around the window's own and answer some of them
// otherwise (the scripted dialogues of the screenshots and of the window's tests).
using TShellOpsDecorator = std::function<std::unique_ptr<ShellOps>(TQtShellOps& window)>;

} // namespace veltra
