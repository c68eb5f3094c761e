#pragma once
// The main window on Qt Widgets: five pages, the menus and actions, the status
// line, the busy box and the auxiliary windows. It holds no workflow of its own:
// every user event goes to the window logic (shell/UMainForm.h), which drives the
// widgets back through the Qt shell operations.
#include <functional>
#include <memory>

#include <QMainWindow>

#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "qt/TQtShellOps.h"
#include "shell/TInputEditor.h"
#include "shell/UMainForm.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace veltra {

class TAlfaForm;
class TChartView;
class TCloseForm;
class TDecorColumn;
class TDrainForm;
class THelpForm;
class TInputEditorPanels;
class TInputSymbolsForm;
class TOutputSymbolsForm;
class TPictureWidget;
class TWarningForm;

// The window's first size: 1280 x 820 where the screen has room for it, else what
// the screen's free area (`available`, without its panels) leaves for the window
// and its frame; never below the window's `minimum`.
QSize DefaultWindowSize(const QSize& available, const QSize& minimum);

class TMainForm final : public QMainWindow {
public:
    // With `decorate` the window's logic reaches the window through what it makes of
    // the window's own shell operations (the scripted dialogues of qt/TScriptedShellOps.h).
    explicit TMainForm(const TShellOpsDecorator& decorate = {});
    ~TMainForm() override;

    TMainFormLogic& Logic() { return *logic_; }
    TQtShellOps& Ops() { return *ops_; }
    TDataMod& Data() { return *dataMod_; }

    // ---- Pages and status line
    QTabWidget* Pages = nullptr;
    QLabel* StatusLabel = nullptr;

    // ---- Input page
    QLabel* FileNameLabel = nullptr;
    QLineEdit* Title1Edit = nullptr;
    QLineEdit* Title2Edit = nullptr;
    QPushButton* SaveRunButton = nullptr;
    QPushButton* InputOpenButton = nullptr;
    QPushButton* KrHelpButton = nullptr;
    QPushButton* InputSymbolsButton = nullptr;
    TInputEditorPanels* EditorPanels = nullptr; // "Select data group" and the group panels
    QPlainTextEdit* WaitMemo = nullptr;         // the busy box
    QLabel* NoteLabel = nullptr;
    TPictureWidget* InputDecor = nullptr;     // names the file being edited
    TDecorColumn* InputDecorColumn = nullptr; // the hints and the picture, beside the panels

    // ---- Output page
    QPlainTextEdit* ResultMemo = nullptr;
    QTableWidget* Grid = nullptr;
    QGroupBox* GroupsPanel = nullptr;
    QButtonGroup* GroupOptions = nullptr; // ids 1..13
    QPushButton* GoButton = nullptr;
    QPushButton* OutputOpenButton = nullptr;
    QPushButton* OutputSymbolsButton = nullptr;
    QPushButton* GroupButton = nullptr;
    QPushButton* GroupSaveButton = nullptr;
    QPushButton* GroupOpenButton = nullptr;
    QPushButton* SeeGraphButton = nullptr;
    QPushButton* CloseOutputButton = nullptr;
    QPushButton* ClipButton = nullptr;
    QLabel* ClipNoteLabel = nullptr;
    TPictureWidget* OutputDecor = nullptr;

    // ---- Graphics page
    TChartView* GraphImage = nullptr;
    TPictureWidget* GraphDecor = nullptr;
    QPushButton* GraphSaveButton = nullptr;
    QPushButton* GraphOpenButton = nullptr;
    QPushButton* GraphSymbolsButton = nullptr;
    QPushButton* GraphOutputButton = nullptr;
    QPushButton* GraphGroupButton = nullptr;

    // ---- Figure page
    TPictureWidget* FigureImage = nullptr;
    QPushButton* SymbolsListButton = nullptr;

    // ---- Menus and actions
    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QAction* InputOpen = nullptr;
    QAction* OpenExample = nullptr; // the bundled examples, written into a folder and opened
    QAction* OutputOpen = nullptr;
    QAction* InputSave = nullptr;
    QAction* GraphOpen = nullptr;
    QAction* GraphSave = nullptr;
    QAction* FilePrint = nullptr;
    QAction* GroupSave = nullptr;
    QAction* GroupOpen = nullptr;
    QAction* ProgramExit = nullptr;
    QAction* Cut = nullptr;
    QAction* Copy = nullptr;
    QAction* Paste = nullptr;
    QAction* Delete = nullptr;

    // ---- Auxiliary windows, created once, in this order, after the main window
    TCloseForm* CloseForm = nullptr;
    THelpForm* HelpForm = nullptr;
    TInputSymbolsForm* InputSymbolsForm = nullptr;
    TOutputSymbolsForm* OutputSymbolsForm = nullptr;
    TWarningForm* WarningForm = nullptr;
    TDrainForm* DrainForm = nullptr;
    TAlfaForm* AlfaForm = nullptr; // the drainage reaction-factor calculator

    // Ends the program once the exit window is closed; tests replace it.
    std::function<void()> EndProgram;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildIntroPage();
    QWidget* BuildInputPage();
    QLayout* BuildInputHead(QWidget* page); // the buttons, the file's name and the titles
    QWidget* BuildInputSide(QWidget* page); // the hints and the picture beside the panels
    QWidget* BuildOutputPage();
    QWidget* BuildOutputSide(QWidget* page); // the buttons, the output groups, the clipboard
    QWidget* BuildGroupsPanel(QWidget* page);
    QWidget* BuildGraphicsPage();
    QWidget* BuildFigurePage();
    void BuildActions();
    void BuildAuxiliaryWindows();
    // The widgets to the shell operations, the logic made, the user's events to it.
    void Wire();
    void RegisterSaveRun();
    void RegisterControls();
    void ConnectActions();
    void ConnectButtons();
    void ShowExitWindow();
    // The shell operations of the window's logic.
    ShellOps& Shell();

    std::unique_ptr<TQtShellOps> ops_;
    std::unique_ptr<ShellOps> decorated_; // around ops_, or null
    std::unique_ptr<TDataMod> dataMod_;
    TEngineState st_;
    TAnnualCarry carry_;
    // The input editor, reached by the window logic through its hooks.
    std::unique_ptr<TInputEditor> inputEditor_;
    std::unique_ptr<TMainFormLogic> logic_;
    bool ending_ = false;
};

} // namespace veltra
