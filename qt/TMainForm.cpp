#include "qt/TMainForm.h"

#include <filesystem>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "qt/Pictures.h"
#include "qt/TAlfaForm.h"
#include "qt/TChartView.h"
#include "qt/TCloseForm.h"
#include "qt/TDecorColumn.h"
#include "qt/TInputEditorPanels.h"
#include "qt/TextForms.h"
#include "results/OutputGroups.h"
#include "shell/ControlNames.h"
#include "shell/HelpTexts.h"

namespace veltra {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QPushButton* Button(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QAction* Action(const QString& caption, const QString& name, const QKeySequence& keys, QWidget* owner)
{
    auto* a = new QAction(caption, owner);
    a->setObjectName(name);
    if (!keys.isEmpty())
        a->setShortcut(keys);
    owner->addAction(a); // the shortcut works on every page
    return a;
}

} // namespace

QSize DefaultWindowSize(const QSize& available, const QSize& minimum)
{
    // Room for a window manager's title bar and borders around the window.
    const QSize frame(16, 48);
    return QSize(1280, 820).boundedTo(available - frame).expandedTo(minimum);
}

TMainForm::TMainForm(const TShellOpsDecorator& decorate)
{
    setWindowTitle("VeltraM, modernized Agro-Hydro-Soil-Salinity Model");
    ops_ = std::make_unique<TQtShellOps>(this);
    if (decorate)
        decorated_ = decorate(*ops_);

    Pages = new QTabWidget(this);
    Pages->setObjectName("Pages");
    Pages->addTab(BuildIntroPage(), " Intro ");
    Pages->addTab(BuildInputPage(), " Input ");
    Pages->addTab(BuildOutputPage(), " Output ");
    Pages->addTab(BuildGraphicsPage(), " Graphics ");
    Pages->addTab(BuildFigurePage(), " Figure ");
    setCentralWidget(Pages);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName("Status_Label");
    // A long status text is cut, not allowed to widen the window.
    StatusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(StatusLabel, 1);
    BuildActions();
    resize(DefaultWindowSize(screen()->availableGeometry().size(), minimumSizeHint()));

    BuildAuxiliaryWindows();
    Wire();
    EndProgram = [] { QCoreApplication::exit(0); };
    logic_->Start();
}

ShellOps& TMainForm::Shell()
{
    if (decorated_)
        return *decorated_;
    return *ops_;
}

TMainForm::~TMainForm()
{
    // Taking the pages down must not run the page behaviour of a logic that is gone,
    // nor reach an editor that is gone.
    Pages->blockSignals(true);
    EditorPanels->Disconnect();
}

// ---------------------------------------------------------------- pages

QWidget* TMainForm::BuildIntroPage()
{
    auto* page = new QWidget;
    page->setObjectName("Intro_Tabsheet");
    auto* row = new QHBoxLayout(page);
    auto* logo = new TPictureWidget(TPictureKind::Logo, page);
    logo->setObjectName("Logo_Image");
    logo->setFixedSize(300, 300);
    row->addWidget(logo, 0, Qt::AlignTop);
    auto* intro = new QTextBrowser(page);
    intro->setObjectName("Intro_Memo");
    intro->setPlainText(Q(IntroText()));
    QFont font = intro->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    intro->setFont(font);
    row->addWidget(intro, 1);
    return page;
}

QWidget* TMainForm::BuildInputPage()
{
    auto* page = new QWidget;
    page->setObjectName("Input_TabSheet");
    auto* column = new QVBoxLayout(page);
    column->addLayout(BuildInputHead(page));

    auto* body = new QHBoxLayout;
    EditorPanels = new TInputEditorPanels(page);
    body->addWidget(EditorPanels);
    // The busy box stands where the panels stand: during a run none is open.
    WaitMemo = new QPlainTextEdit(page);
    WaitMemo->setObjectName("WaitMemo");
    WaitMemo->setReadOnly(true);
    WaitMemo->setFixedSize(300, 120);
    WaitMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    WaitMemo->hide();
    EditorPanels->AddAbovePanels(WaitMemo);
    EditorPanels->TakeKeysOf(page);
    body->addWidget(BuildInputSide(page), 1);
    column->addLayout(body, 1);
    return page;
}

QLayout* TMainForm::BuildInputHead(QWidget* page)
{
    // The buttons with the file's name beside them, then the two title lines: the
    // data groups below keep as much of the height as can be given.
    auto* head = new QGridLayout;
    auto* buttons = new QHBoxLayout;
    SaveRunButton = Button(" Save / run ", "SaveRun_Button", page);
    InputOpenButton = Button("Open input file", "InputOpen_Button", page);
    KrHelpButton = Button("Kr Help", "KrHelp_Button", page);
    InputSymbolsButton = Button("Symbols", "InputSymbols_Button", page);
    for (QPushButton* b : {SaveRunButton, InputOpenButton, KrHelpButton, InputSymbolsButton})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(new QLabel("Input file:", page));
    FileNameLabel = new QLabel(page);
    FileNameLabel->setObjectName("FileName_Label");
    FileNameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut, not allowed to widen the window.
    FileNameLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    buttons->addWidget(FileNameLabel, 1);
    head->addLayout(buttons, 0, 0, 1, 2);
    head->addWidget(new QLabel("Title 1:", page), 1, 0);
    Title1Edit = new QLineEdit(page);
    Title1Edit->setObjectName("Title1_Edit");
    head->addWidget(Title1Edit, 1, 1);
    head->addWidget(new QLabel("Title 2:", page), 2, 0);
    Title2Edit = new QLineEdit(page);
    Title2Edit->setObjectName("Title2_Edit");
    head->addWidget(Title2Edit, 2, 1);
    head->setColumnStretch(1, 1);
    return head;
}

QWidget* TMainForm::BuildInputSide(QWidget* page)
{
    auto* side = new TDecorColumn(page);
    side->setObjectName("InputDecor_Column");
    InputDecorColumn = side;
    NoteLabel = new QLabel("Enter a new data set group by group, starting with \"General data\", or open an input "
                           "file to see and change its data. Then use \" Save / run \" to save the data and to "
                           "calculate.",
                           side);
    NoteLabel->setObjectName("Note_Label");
    NoteLabel->setWordWrap(true);
    side->Content()->addWidget(NoteLabel);
    InputDecor = new TPictureWidget(TPictureKind::InputPage, side);
    InputDecor->setObjectName("InputDecor_Image");
    InputDecor->setMaximumSize(PictureDesignSize(TPictureKind::InputPage));
    QSizePolicy shape(QSizePolicy::Expanding, QSizePolicy::Preferred);
    shape.setHeightForWidth(true);
    InputDecor->setSizePolicy(shape);
    side->Content()->addWidget(InputDecor);
    auto* steps = new QLabel("1. Enter the data groups one after another, or \"Open input file\" (Ctrl+I).\n"
                             "2. Choose a group in \"Select data group\", change its values and \"Save group\".\n"
                             "3. \" Save / run \" saves the data under a new name and calculates.\n"
                             "4. The Output tabsheet shows the results.",
                             side);
    steps->setObjectName("Steps_Label");
    steps->setWordWrap(true);
    side->Content()->addWidget(steps);
    side->Content()->addStretch(1);
    return side;
}

QWidget* TMainForm::BuildOutputPage()
{
    auto* page = new QWidget;
    page->setObjectName("Output_TabSheet");
    auto* row = new QHBoxLayout(page);

    // The result text above the group table's grid; the picture while neither shows.
    auto* left = new QVBoxLayout;
    ResultMemo = new QPlainTextEdit(page);
    ResultMemo->setObjectName("Result_Memo");
    ResultMemo->setReadOnly(true);
    ResultMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ResultMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ResultMemo->hide();
    left->addWidget(ResultMemo, 3);
    Grid = new QTableWidget(page);
    Grid->setObjectName("Group_Grid");
    Grid->horizontalHeader()->hide();
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setDefaultSectionSize(76);
    Grid->verticalHeader()->setDefaultSectionSize(22);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->hide();
    left->addWidget(Grid, 2);
    OutputDecor = new TPictureWidget(TPictureKind::OutputPage, page);
    OutputDecor->setObjectName("OutputDecor_Image");
    left->addWidget(OutputDecor, 1);
    row->addLayout(left, 1);
    row->addWidget(BuildOutputSide(page));
    return page;
}

QWidget* TMainForm::BuildOutputSide(QWidget* page)
{
    // The buttons two by two, the output groups below them; the column scrolls when
    // the page is lower than it, rather than make the window taller.
    auto* sideScroll = new QScrollArea(page);
    sideScroll->setObjectName("OutputSide_Scroll");
    sideScroll->setWidgetResizable(true);
    sideScroll->setFrameShape(QFrame::NoFrame);
    sideScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* sideBox = new QWidget(sideScroll);
    auto* side = new QVBoxLayout(sideBox);
    side->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QGridLayout;
    OutputOpenButton = Button("Open output file", "OutputOpen_Button", page);
    OutputSymbolsButton = Button("Symbols", "OutputSymbols_Button", page);
    GroupButton = Button("Output groups", "Group_Button", page);
    GroupButton->setToolTip("Select output data");
    GroupSaveButton = Button("Save group", "GroupSave_Button", page);
    GroupOpenButton = Button("Group file", "GroupOpen_Button", page);
    SeeGraphButton = Button("See graph", "SeeGraph_Button", page);
    CloseOutputButton = Button("Close output", "CloseOutput_Button", page);
    int place = 0;
    for (QPushButton* b : {OutputOpenButton, OutputSymbolsButton, GroupButton, GroupSaveButton, GroupOpenButton,
                           SeeGraphButton, CloseOutputButton}) {
        buttons->addWidget(b, place / 2, place % 2);
        ++place;
    }
    side->addLayout(buttons);
    side->addWidget(BuildGroupsPanel(page));

    ClipButton = Button("to Clipboard", "Clip_Button", page);
    ClipButton->hide();
    side->addWidget(ClipButton);
    ClipNoteLabel = new QLabel("The table can be copied to the clipboard and pasted into a spreadsheet.", page);
    ClipNoteLabel->setObjectName("ClipNote_Label");
    ClipNoteLabel->setWordWrap(true);
    ClipNoteLabel->hide();
    side->addWidget(ClipNoteLabel);
    side->addStretch(1);
    sideScroll->setWidget(sideBox);
    sideScroll->viewport()->setAutoFillBackground(false);
    sideBox->setAutoFillBackground(false);
    sideScroll->setFixedWidth(270 + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return sideScroll;
}

QWidget* TMainForm::BuildGroupsPanel(QWidget* page)
{
    GroupsPanel = new QGroupBox("Output groups", page);
    GroupsPanel->setObjectName("Groups_Panel");
    auto* options = new QVBoxLayout(GroupsPanel);
    options->setSpacing(2);
    GroupOptions = new QButtonGroup(GroupsPanel);
    for (int n = 1; n <= 13; ++n) {
        auto* option = new QRadioButton(GroupOption(n).Caption, GroupsPanel);
        option->setObjectName(QString("Group_Option%1").arg(n));
        GroupOptions->addButton(option, n);
        options->addWidget(option);
    }
    GroupOptions->button(1)->setChecked(true);
    GoButton = Button("Go", "Go_Button", GroupsPanel);
    options->addWidget(GoButton);
    GroupsPanel->hide();
    return GroupsPanel;
}

QWidget* TMainForm::BuildGraphicsPage()
{
    auto* page = new QWidget;
    page->setObjectName("Graphics_TabSheet");
    auto* row = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    GraphImage = new TChartView(ops_->Canvas(), page);
    GraphImage->setObjectName("Graph_Image");
    GraphImage->hide();
    left->addWidget(GraphImage, 0, Qt::AlignLeft | Qt::AlignTop);
    GraphDecor = new TPictureWidget(TPictureKind::GraphicsPage, page);
    GraphDecor->setObjectName("GraphDecor_Image");
    left->addWidget(GraphDecor, 1);
    row->addLayout(left, 1);

    auto* side = new QVBoxLayout;
    GraphSaveButton = Button("Save graph", "GraphSave_Button", page);
    GraphOpenButton = Button("Open graph ", "GraphOpen_Button", page);
    GraphSymbolsButton = Button("Symbols", "GraphSymbols_Button", page);
    GraphOutputButton = Button("Output file", "GraphOutput_Button", page);
    GraphGroupButton = Button("Group file", "GraphGroup_Button", page);
    for (QPushButton* b : {GraphSaveButton, GraphOpenButton, GraphSymbolsButton, GraphOutputButton, GraphGroupButton})
        side->addWidget(b);
    side->addStretch(1);
    auto* sideBox = new QWidget(page);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(200);
    row->addWidget(sideBox);
    return page;
}

QWidget* TMainForm::BuildFigurePage()
{
    auto* page = new QWidget;
    page->setObjectName("Figure_TabSheet");
    auto* row = new QHBoxLayout(page);
    FigureImage = new TPictureWidget(TPictureKind::Figure, page);
    FigureImage->setObjectName("Figure_Image");
    row->addWidget(FigureImage, 1);
    auto* side = new QVBoxLayout;
    SymbolsListButton = Button("Symbols list", "SymbolsList_Button", page);
    side->addWidget(SymbolsListButton);
    side->addStretch(1);
    row->addLayout(side);
    return page;
}

// ---------------------------------------------------------------- menus and actions

void TMainForm::BuildActions()
{
    InputOpen = Action("Open input file", "InputOpen", QKeySequence("Ctrl+I"), this);
    OpenExample = Action("Open example", "OpenExample", {}, this);
    OutputOpen = Action("Open output file", "OutputOpen", QKeySequence("Ctrl+O"), this);
    InputSave = Action("Save / run", "InputSave", {}, this);
    GraphOpen = Action("Open graph", "GraphOpen", QKeySequence("Ctrl+G"), this);
    GraphSave = Action("Save graph", "GraphSave", QKeySequence("Ctrl+R"), this);
    FilePrint = Action("Print", "FilePrint", QKeySequence("Ctrl+P"), this);
    GroupSave = Action("Save group", "GroupSave", {}, this);
    GroupOpen = Action("Open group file", "GroupOpen", QKeySequence("Ctrl+U"), this);
    // Ctrl+X stays with Cut.
    ProgramExit = Action("Exit", "ProgramExit", QKeySequence("Ctrl+Q"), this);
    Cut = Action("Cut", "Cut", QKeySequence("Ctrl+X"), this);
    Copy = Action("Copy", "Copy", QKeySequence("Ctrl+C"), this);
    Paste = Action("Paste", "Paste", QKeySequence("Ctrl+V"), this);
    Delete = Action("Delete", "Delete", QKeySequence(Qt::Key_Delete), this);

    FileMenu = menuBar()->addMenu("File");
    for (QAction* a : {InputOpen, OpenExample, OutputOpen, GraphOpen, FilePrint, ProgramExit, GroupOpen})
        FileMenu->addAction(a);
    EditMenu = menuBar()->addMenu("&Edit");
    for (QAction* a : {Cut, Copy, Paste, Delete})
        EditMenu->addAction(a);

    // The clipboard commands act on the field that has the focus.
    auto onFocused = [](auto lineEdit, auto memo) {
        return [lineEdit, memo] {
            QWidget* w = QApplication::focusWidget();
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                lineEdit(edit);
            else if (auto* text = qobject_cast<QPlainTextEdit*>(w))
                memo(text);
        };
    };
    connect(Cut, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->cut(); }, [](QPlainTextEdit* t) { t->cut(); }));
    connect(Copy, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->copy(); }, [](QPlainTextEdit* t) { t->copy(); }));
    connect(Paste, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->paste(); }, [](QPlainTextEdit* t) { t->paste(); }));
    connect(Delete, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->del(); },
                      [](QPlainTextEdit* t) {
                          QTextCursor cursor = t->textCursor();
                          if (cursor.hasSelection())
                              cursor.removeSelectedText();
                          else
                              cursor.deleteChar();
                          t->setTextCursor(cursor);
                      }));
}

void TMainForm::BuildAuxiliaryWindows()
{
    CloseForm = new TCloseForm(this);
    dataMod_ = std::make_unique<TDataMod>();
    HelpForm = new THelpForm(this);
    InputSymbolsForm = new TInputSymbolsForm(this);
    OutputSymbolsForm = new TOutputSymbolsForm(this);
    WarningForm = new TWarningForm(this);
    DrainForm = new TDrainForm(this);
    AlfaForm = new TAlfaForm(dataMod_->Rec, *ops_, Shell(), this);
}

// ---------------------------------------------------------------- wiring

void TMainForm::Wire()
{
    TQtShellOps& ops = *ops_;
    ops.SetPages(Pages);
    ops.SetStatusLabel(StatusLabel);
    ops.SetBusyBox(WaitMemo);
    ops.SetTextView(ResultMemo);
    ops.SetGrid(Grid);
    ops.SetWindow(TWindow::Help, HelpForm);
    ops.SetWindow(TWindow::InputSymbols, InputSymbolsForm);
    ops.SetWindow(TWindow::OutputSymbols, OutputSymbolsForm);
    ops.SetWindow(TWindow::Warning, WarningForm);
    ops.SetWindow(TWindow::Drain, DrainForm);
    ops.SetWindow(TWindow::Alfa, AlfaForm);
    ops.SetExitWindow([this] { ShowExitWindow(); });
    RegisterSaveRun();
    RegisterControls();

    ShellOps& shell = Shell();
    inputEditor_ = std::make_unique<TInputEditor>(dataMod_->Rec, shell);
    EditorPanels->Connect(*inputEditor_, ops, shell);
    logic_ = std::make_unique<TMainFormLogic>(shell, *dataMod_, st_, carry_, *inputEditor_);
    ConnectActions();
    ConnectButtons();
}

void TMainForm::RegisterSaveRun()
{
    // " Save / run " runs InputSave; it is enabled when the action is (on the Input
    // page, no group panel open) and a new data set has been entered to its end.
    auto saveRunAllowed = std::make_shared<bool>(true);
    auto followSave = [this, saveRunAllowed] { SaveRunButton->setEnabled(InputSave->isEnabled() && *saveRunAllowed); };
    TControlEntry inputSave;
    inputSave.SetVisible = [this](bool v) { InputSave->setVisible(v); };
    inputSave.SetEnabled = [this, followSave](bool v) {
        InputSave->setEnabled(v);
        followSave();
    };
    inputSave.SetText = [](const std::string&) {};
    inputSave.GetText = [this] { return InputSave->text().toStdString(); };
    ops_->Register(ctl::InputSave, inputSave);
    TControlEntry saveRun = WidgetEntry(SaveRunButton);
    saveRun.SetEnabled = [saveRunAllowed, followSave](bool v) {
        *saveRunAllowed = v;
        followSave();
    };
    ops_->Register(ctl::SaveRunButton, saveRun);
}

void TMainForm::RegisterControls()
{
    TQtShellOps& ops = *ops_;
    // "Save graph" follows its action.
    TControlEntry graphSave = WidgetEntry(GraphSaveButton);
    graphSave.SetEnabled = [this](bool v) {
        GraphSave->setEnabled(v);
        GraphSaveButton->setEnabled(v);
    };
    ops.Register(ctl::GraphSave, graphSave);

    // The Input page's picture names the file the label names.
    TControlEntry fileName = WidgetEntry(FileNameLabel);
    fileName.SetText = [this](const std::string& path) {
        FileNameLabel->setText(Q(path));
        InputDecor->SetCaption(Q(std::filesystem::path(path).filename().string()));
    };
    ops.Register(ctl::FileNameLabel, fileName);

    const std::pair<const char*, QWidget*> widgets[] = {
        {ctl::Title1Edit, Title1Edit},
        {ctl::Title2Edit, Title2Edit},
        {ctl::NoteLabel, NoteLabel},
        {ctl::OutputOpenButton, OutputOpenButton},
        {ctl::OutputSymbolsButton, OutputSymbolsButton},
        {ctl::GroupButton, GroupButton},
        {ctl::GroupSaveButton, GroupSaveButton},
        {ctl::GroupOpenButton, GroupOpenButton},
        {ctl::SeeGraphButton, SeeGraphButton},
        {ctl::CloseOutputButton, CloseOutputButton},
        {ctl::ClipButton, ClipButton},
        {ctl::ClipNoteLabel, ClipNoteLabel},
        {ctl::GroupsPanel, GroupsPanel},
        {ctl::OutputDecorImage, OutputDecor},
        {ctl::GraphImage, GraphImage},
        {ctl::GraphDecorImage, GraphDecor},
        {ctl::GraphSymbolsButton, GraphSymbolsButton},
        {ctl::WarningMemo, WarningForm->WarningMemo},
    };
    for (const auto& [name, widget] : widgets)
        ops.Register(name, WidgetEntry(widget));
    TControlEntry option = WidgetEntry(GroupsPanel);
    option.SetText = [this](const std::string& text) {
        if (QAbstractButton* b = GroupOptions->button(std::atoi(text.c_str())))
            b->setChecked(true);
    };
    option.GetText = [this]() -> std::string {
        const int id = GroupOptions->checkedId();
        return id > 0 ? std::to_string(id) : std::string();
    };
    ops.Register(ctl::GroupOption, option);
}

void TMainForm::ConnectActions()
{
    TMainFormLogic& logic = *logic_;
    connect(Pages, &QTabWidget::currentChanged, this,
            [&logic](int index) { logic.PageShown(static_cast<TPage>(index)); });
    // An opened file shows its General data group: the keys go to its first field.
    connect(InputOpen, &QAction::triggered, this, [this, &logic] {
        logic.InputOpen();
        EditorPanels->FocusOpenPanel();
    });
    connect(OpenExample, &QAction::triggered, this, [this, &logic] {
        logic.OpenExample();
        EditorPanels->FocusOpenPanel();
    });
    connect(OutputOpen, &QAction::triggered, this, [&logic] { logic.OutputOpen(); });
    connect(InputSave, &QAction::triggered, this, [&logic] { logic.InputSave(); });
    connect(GraphOpen, &QAction::triggered, this, [&logic] { logic.GraphOpen(); });
    connect(GraphSave, &QAction::triggered, this, [&logic] { logic.GraphSave(); });
    connect(FilePrint, &QAction::triggered, this, [&logic] { logic.FilePrint(); });
    connect(GroupSave, &QAction::triggered, this, [&logic] { logic.GroupSave(); });
    connect(GroupOpen, &QAction::triggered, this, [&logic] { logic.GroupOpen(); });
    connect(ProgramExit, &QAction::triggered, this, [&logic] { logic.ProgramExit(); });
}

void TMainForm::ConnectButtons()
{
    auto click = [this](QPushButton* b, QAction* a) { connect(b, &QPushButton::clicked, a, &QAction::trigger); };
    click(SaveRunButton, InputSave);
    click(InputOpenButton, InputOpen);
    click(OutputOpenButton, OutputOpen);
    click(GraphOutputButton, OutputOpen);
    click(GroupSaveButton, GroupSave);
    click(GroupOpenButton, GroupOpen);
    click(GraphGroupButton, GroupOpen);
    click(GraphSaveButton, GraphSave);
    click(GraphOpenButton, GraphOpen);
    auto call = [this](QPushButton* b, void (TMainFormLogic::*member)()) {
        connect(b, &QPushButton::clicked, this, [this, member] { (logic_.get()->*member)(); });
    };
    call(KrHelpButton, &TMainFormLogic::KrHelp);
    call(InputSymbolsButton, &TMainFormLogic::InputSymbols);
    call(SymbolsListButton, &TMainFormLogic::InputSymbols);
    call(OutputSymbolsButton, &TMainFormLogic::OutputSymbols);
    call(GraphSymbolsButton, &TMainFormLogic::OutputSymbols);
    call(GroupButton, &TMainFormLogic::OutputGroups);
    call(GoButton, &TMainFormLogic::Go);
    call(SeeGraphButton, &TMainFormLogic::SeeGraph);
    call(CloseOutputButton, &TMainFormLogic::CloseOutput);
    call(ClipButton, &TMainFormLogic::ToClipboard);
}

// ---------------------------------------------------------------- exit

void TMainForm::ShowExitWindow()
{
    // "Finish" and closing the exit window both end the program.
    CloseForm->exec();
    ending_ = true;
    if (EndProgram)
        EndProgram();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (ending_) {
        event->accept();
        return;
    }
    // Closing the main window shows the exit window instead.
    event->ignore();
    logic_->ProgramExit();
}

} // namespace veltra
