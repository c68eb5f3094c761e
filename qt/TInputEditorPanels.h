#pragma once
// The input editor on the Input page: "Select data group" with one entry per
// group, and one panel per group, all built from the groups as data
// (EditorControlList in shell/InputGroups.h): a row per field, a column per
// season, "Save group" and "Cancel". The editor logic (shell/TInputEditor.h)
// drives the widgets by their names through the Qt shell operations; the user's
// clicks, choices, leaving a field, Enter and Esc go to the editor.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QVBoxLayout;

namespace veltra {

class ShellOps;
class TFieldEvents;
class TInputEditor;
class TQtShellOps;
enum class TGroupId : int;
struct TControlInfo;
struct TEditorPanelParts;

class TInputEditorPanels final : public QWidget {
public:
    explicit TInputEditorPanels(QWidget* parent);

    // Registers every control under its name with `window` and sends the user's
    // events to `editor`, reporting their failures through `ops` (the window's own or
    // around them); all live as long as the panels.
    void Connect(TInputEditor& editor, TQtShellOps& window, ShellOps& ops);
    // The editor is going: events from now on reach nothing.
    void Disconnect() { editor_ = nullptr; }

    QGroupBox* Selector = nullptr;   // "Select data group"
    QButtonGroup* Choices = nullptr; // one radio button per group, its id the group's
    std::map<TGroupId, QGroupBox*> Panels;

    // A control by its name (Lc1_Edit, Kd_ComboBox, CanalLosses_Save_Button, ...);
    // null when there is none.
    QWidget* Control(const std::string& name) const;

    // `widget` stands where the panels stand, above them (the busy box: during a run
    // no panel is open).
    void AddAbovePanels(QWidget* widget);
    // Enter and Esc anywhere on `page` save or cancel the open group.
    void TakeKeysOf(QWidget* page);
    // The focus into the first field of the open panel, unless it is in the panel.
    void FocusOpenPanel();

private:
    // One control of the list: a group's panel, a choice of "Select data group", or
    // a label, field or button of a panel.
    void BuildControl(const TControlInfo& c, QWidget* column, std::map<std::string, TEditorPanelParts>& parts);
    // Each group's panel as the editor knows it, with its key hint and Tab order.
    void FinishPanels(std::map<std::string, TEditorPanelParts>& parts);
    void RegisterControls(TQtShellOps& window);
    // "Select data group", "Save group", "Cancel" and the drainage buttons.
    void ConnectButtons();
    // The General data group's selectors and leaving a field, Enter and Esc.
    void ConnectFields();
    // Runs one user event; events that arrive while one runs (a field left because
    // a message box took the focus) are dropped, and nothing is thrown past it.
    void Run(const std::function<void()>& body);
    // One handler of the editor, one group chosen, as one user event.
    void Call(void (TInputEditor::*handler)());
    void Choose(TGroupId id);
    void PressEnter(QWidget* field);
    void PressEscape(QWidget* field);
    QGroupBox* PanelOf(QWidget* field) const;
    std::map<std::string, QWidget*> controls_;
    std::map<TGroupId, std::vector<QWidget*>> focusOrder_; // fields, then buttons
    QVBoxLayout* panels_ = nullptr;
    TFieldEvents* events_ = nullptr;
    TInputEditor* editor_ = nullptr;
    ShellOps* ops_ = nullptr;
    bool busy_ = false;
};

} // namespace veltra
