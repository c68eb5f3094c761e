#include "qt/TInputEditorPanels.h"

#include <algorithm>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/RunUserEvent.h"
#include "qt/TFieldEvents.h"
#include "qt/TQtShellOps.h"
#include "shell/InputGroups.h"
#include "shell/TInputEditor.h"

namespace veltra {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// Room for "0.00125" and for the selector items.
constexpr int FieldWidth = 80;
// The labels wrap at this width: the long ones take two lines. A panel without
// seasons has room for whole lines.
constexpr int LabelWidth = 270;
constexpr int WideLabelWidth = 420;

// A label wraps between words, not inside a unit: "m/season", "dS/m" stay whole.
QString UnitsWhole(QString text)
{
    static const QString joinedSlash = QString(QChar(0x2060)) + "/" + QChar(0x2060);
    return text.replace("/", joinedSlash);
}

std::string GeneralControl(const char* symbol)
{
    return FieldControl(*Group(TGroupId::General).Field(symbol));
}

} // namespace

// The parts of one group's panel while it is built.
struct TEditorPanelParts {
    int LabelWidth;
    QGroupBox* Box;
    QGridLayout* Grid;
    QVBoxLayout* Body;
    std::map<int, QHBoxLayout*> ButtonRows;
    std::vector<QWidget*> Focus; // fields, then buttons: the order of the Tab key
};

namespace {

// The panel of a data group, hidden, with its title in bold and an empty grid for
// its rows; its labels are narrower where season columns need the room.
TEditorPanelParts MakeGroupPanel(const TControlInfo& c, QWidget* column)
{
    auto* box = new QGroupBox(Q(c.Text), column);
    box->setObjectName(Q(c.Name));
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    auto* body = new QVBoxLayout(box);
    bool seasonal = false;
    for (const TGroupDef& g : InputGroups())
        seasonal = seasonal || (PanelControl(g) == c.Name && g.IsSeasonal());
    const int labelWidth = seasonal ? LabelWidth : WideLabelWidth;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setColumnMinimumWidth(0, labelWidth);
    grid->setColumnStretch(5, 1);
    body->addLayout(grid);
    box->hide();
    return TEditorPanelParts{labelWidth, box, grid, body, {}, {}};
}

// A button in its row below the grid, the row made when it has none yet.
QWidget* MakePanelButton(const TControlInfo& c, TEditorPanelParts& p)
{
    auto*& buttons = p.ButtonRows[c.Row];
    if (buttons == nullptr) {
        buttons = new QHBoxLayout;
        buttons->addStretch(1);
        p.Body->addLayout(buttons);
    }
    auto* button = new QPushButton(Q(c.Text), p.Box);
    buttons->insertWidget(buttons->count() - 1, button);
    p.Focus.push_back(button);
    return button;
}

// A label, field, selector or button of a group's panel in its place, in the
// panel's plain font; null for a kind a panel holds none of.
QWidget* MakePanelControl(const TControlInfo& c, TEditorPanelParts& p)
{
    QWidget* on = p.Box;
    QWidget* made = nullptr;
    switch (c.Kind) {
    case TControlKind::Label: {
        auto* label = new QLabel(c.Column == 0 ? UnitsWhole(Q(c.Text)) : Q(c.Text), on);
        if (c.Column == 0) {
            label->setWordWrap(true);
            label->setFixedWidth(p.LabelWidth);
            p.Grid->addWidget(label, c.Row, 0);
        } else {
            p.Grid->addWidget(label, c.Row, c.Column, Qt::AlignCenter);
        }
        made = label;
        break;
    }
    case TControlKind::Edit: {
        auto* edit = new QLineEdit(Q(c.Text), on);
        edit->setFixedWidth(FieldWidth);
        p.Grid->addWidget(edit, c.Row, c.Column);
        p.Focus.push_back(edit);
        made = edit;
        break;
    }
    case TControlKind::ComboBox: {
        auto* combo = new QComboBox(on);
        for (const std::string& item : c.Items)
            combo->addItem(Q(item));
        combo->setCurrentIndex(combo->findText(Q(c.Text)));
        combo->setFixedWidth(FieldWidth);
        p.Grid->addWidget(combo, c.Row, c.Column);
        p.Focus.push_back(combo);
        made = combo;
        break;
    }
    case TControlKind::Button: made = MakePanelButton(c, p); break;
    case TControlKind::Panel:
    case TControlKind::RadioGroup:
    case TControlKind::RadioButton: break;
    }
    if (made != nullptr) {
        // The panel's title is bold; its contents are not.
        QFont plain = made->font();
        plain.setBold(false);
        made->setFont(plain);
    }
    return made;
}

} // namespace

TInputEditorPanels::TInputEditorPanels(QWidget* parent) : QWidget(parent)
{
    setObjectName("InputEditor_Panels");
    events_ = new TFieldEvents(this);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    // The selector and the panels, one shown at a time, scroll up and down together
    // when the page is lower than they are; they never give up width.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("InputEditor_Scroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(scroll);
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    Selector = new QGroupBox(content);
    Selector->setObjectName(ctl::DataGroupPanel);
    auto* choices = new QVBoxLayout(Selector);
    choices->setSpacing(0);
    Choices = new QButtonGroup(Selector);
    row->addWidget(Selector, 0, Qt::AlignTop);

    auto* column = new QWidget(content);
    panels_ = new QVBoxLayout(column);
    panels_->setContentsMargins(0, 0, 0, 0);
    row->addWidget(column, 1);
    scroll->setWidget(content);
    // The page shows through below the panel (setWidget fills the background).
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);

    std::map<std::string, TEditorPanelParts> parts;
    for (const TControlInfo& c : EditorControlList())
        BuildControl(c, column, parts);
    panels_->addStretch(1);
    FinishPanels(parts);

    // As wide as the selector beside the widest panel, with room for the scroll bar:
    // no field is squeezed and the width does not change from panel to panel.
    ensurePolished();
    int widest = 0;
    for (const auto& [id, box] : Panels)
        widest = std::max(widest, box->sizeHint().width());
    column->setMinimumWidth(widest);
    scroll->setFixedWidth(content->minimumSizeHint().width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          2 * style()->pixelMetric(QStyle::PM_ScrollView_ScrollBarSpacing) + 4);
}

void TInputEditorPanels::BuildControl(const TControlInfo& c, QWidget* column,
                                      std::map<std::string, TEditorPanelParts>& parts)
{
    QWidget* made = nullptr;
    if (c.Panel.empty()) {
        if (c.Kind != TControlKind::Panel)
            return; // " Save / run " is the window's
        if (c.Name == ctl::DataGroupPanel) {
            Selector->setTitle(Q(c.Text));
            made = Selector;
        } else {
            TEditorPanelParts panel = MakeGroupPanel(c, column);
            panels_->addWidget(panel.Box);
            parts[c.Name] = panel;
            made = panel.Box;
        }
    } else if (c.Panel == ctl::DataGroupPanel) {
        if (c.Kind == TControlKind::RadioButton) {
            auto* choice = new QRadioButton(Q(c.Text), Selector);
            choice->setEnabled(false); // the editor offers the groups
            Choices->addButton(choice, c.Row);
            qobject_cast<QVBoxLayout*>(Selector->layout())->addWidget(choice);
            made = choice;
        }
    } else {
        made = MakePanelControl(c, parts.at(c.Panel));
    }
    if (made != nullptr) {
        made->setObjectName(Q(c.Name));
        controls_[c.Name] = made;
    }
}

void TInputEditorPanels::FinishPanels(std::map<std::string, TEditorPanelParts>& parts)
{
    for (const TGroupDef& g : InputGroups()) {
        TEditorPanelParts& p = parts.at(PanelControl(g));
        Panels[g.Id] = p.Box;
        focusOrder_[g.Id] = p.Focus;
        auto* keys = new QLabel("Enter saves the group, Esc cancels.", p.Box);
        keys->setObjectName(QString::fromLatin1(g.Key) + "_Keys_Label");
        QFont plain = keys->font();
        plain.setBold(false);
        keys->setFont(plain);
        keys->setEnabled(false); // a hint, drawn grey
        p.Body->addWidget(keys);
        for (std::size_t i = 0; i < p.Focus.size(); ++i) {
            events_->Watch(p.Focus[i]);
            if (i > 0)
                QWidget::setTabOrder(p.Focus[i - 1], p.Focus[i]);
        }
    }
}

void TInputEditorPanels::AddAbovePanels(QWidget* widget)
{
    panels_->insertWidget(0, widget, 0, Qt::AlignLeft | Qt::AlignTop);
}

void TInputEditorPanels::TakeKeysOf(QWidget* page)
{
    // Enter and Esc act on the open panel wherever the focus is while the page is
    // shown: in a field, on a button, on the page's tab, or nowhere after a message
    // box took it from a panel that has gone since. A popup (a selector's list) and
    // a message box keep their own keys.
    const std::pair<int, bool> keys[] = {{Qt::Key_Return, true}, {Qt::Key_Enter, true}, {Qt::Key_Escape, false}};
    for (const auto& [key, enter] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), page);
        shortcut->setContext(Qt::WindowShortcut);
        const bool isEnter = enter;
        connect(shortcut, &QShortcut::activated, this, [this, isEnter, page] {
            if (!page->isVisible())
                return;
            QWidget* focus = QApplication::focusWidget();
            if (isEnter)
                PressEnter(focus);
            else
                PressEscape(focus);
        });
    }
}

void TInputEditorPanels::FocusOpenPanel()
{
    if (editor_ == nullptr || !editor_->OpenGroup())
        return;
    const TGroupId id = *editor_->OpenGroup();
    QGroupBox* panel = Panels.at(id);
    if (!panel->isVisible() ||
        (QApplication::focusWidget() != nullptr && PanelOf(QApplication::focusWidget()) == panel))
        return;
    for (QWidget* field : focusOrder_.at(id))
        if (field->isVisibleTo(panel) && field->isEnabled()) {
            field->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(field))
                edit->selectAll();
            return;
        }
}

QWidget* TInputEditorPanels::Control(const std::string& name) const
{
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

QGroupBox* TInputEditorPanels::PanelOf(QWidget* field) const
{
    for (QWidget* w = field; w != nullptr; w = w->parentWidget())
        for (const auto& [id, box] : Panels)
            if (box == w)
                return box;
    return nullptr;
}

void TInputEditorPanels::Run(const std::function<void()>& body)
{
    if (editor_ == nullptr)
        return;
    RunUserEvent(busy_, *ops_, body);
}

void TInputEditorPanels::Call(void (TInputEditor::*handler)())
{
    // The closure holds the editor, not `this`: beside a member-function pointer a
    // captured `this` comes out wrong in the sanitizer build (GCC 12).
    TInputEditor* editor = editor_;
    Run([editor, handler] {
        if (editor != nullptr)
            (editor->*handler)();
    });
}

void TInputEditorPanels::Choose(TGroupId id)
{
    Run([this, id] { editor_->ChooseGroup(id); });
    FocusOpenPanel();
}

void TInputEditorPanels::PressEnter(QWidget* focus)
{
    // A button of a panel does what it says; anywhere else Enter saves the open group.
    if (auto* button = qobject_cast<QPushButton*>(focus); button && PanelOf(button) != nullptr) {
        if (button->isEnabled())
            button->click();
        return;
    }
    if (editor_ == nullptr || !editor_->OpenGroup())
        return;
    if (auto* save = qobject_cast<QPushButton*>(Control(SaveButtonControl(Group(*editor_->OpenGroup()))));
        save && save->isEnabled())
        save->click();
}

void TInputEditorPanels::PressEscape(QWidget*)
{
    if (editor_ == nullptr || !editor_->OpenGroup())
        return;
    if (auto* cancel = qobject_cast<QPushButton*>(Control(CancelButtonControl(Group(*editor_->OpenGroup()))));
        cancel && cancel->isEnabled())
        cancel->click();
}

void TInputEditorPanels::Connect(TInputEditor& editor, TQtShellOps& window, ShellOps& ops)
{
    editor_ = &editor;
    ops_ = &ops;
    RegisterControls(window);
    ConnectButtons();
    ConnectFields();
}

void TInputEditorPanels::RegisterControls(TQtShellOps& window)
{
    for (const auto& [name, widget] : controls_)
        window.Register(name, WidgetEntry(widget));
    // The choice in "Select data group": the caption of the chosen group, "" none.
    TControlEntry choice = WidgetEntry(Selector);
    choice.SetText = [this](const std::string& caption) {
        Choices->setExclusive(false);
        for (QAbstractButton* b : Choices->buttons())
            b->setChecked(b->text().toStdString() == caption);
        Choices->setExclusive(true);
    };
    choice.GetText = [this]() -> std::string {
        QAbstractButton* b = Choices->checkedButton();
        return b != nullptr ? b->text().toStdString() : std::string();
    };
    window.Register(ctl::DataGroupRadioGroup, choice);
}

void TInputEditorPanels::ConnectButtons()
{
    connect(Choices, &QButtonGroup::idClicked, this, [this](int id) { Choose(static_cast<TGroupId>(id)); });
    auto click = [this](const std::string& name, const std::function<void()>& handler) {
        auto* button = qobject_cast<QPushButton*>(Control(name));
        connect(button, &QPushButton::clicked, this, [this, handler] {
            Run(handler);
            // The next group of a new data set, or the same one after a refusal.
            FocusOpenPanel();
        });
    };
    for (const TGroupDef& g : InputGroups()) {
        click(SaveButtonControl(g), [this] { editor_->SaveGroup(); });
        click(CancelButtonControl(g), [this] { editor_->CancelGroup(); });
    }
    click(ctl::DrainageEquationButton, [this] { editor_->DrainageEquationClicked(); });
    click(ctl::DrainageCalculationsButton, [this] { editor_->DrainageCalculationsClicked(); });
}

void TInputEditorPanels::ConnectFields()
{
    // The General data group's selectors: a choice of the user (not a text set by
    // the editor) is a change.
    const std::pair<const char*, void (TInputEditor::*)()> changes[] = {{"Ns", &TInputEditor::NsChanged},
                                                                        {"Kd", &TInputEditor::KdChanged},
                                                                        {"Kp", &TInputEditor::KpChanged},
                                                                        {"Kf", &TInputEditor::KfChanged},
                                                                        {"Ky", &TInputEditor::KyChanged}};
    for (const auto& change : changes) {
        auto* combo = qobject_cast<QComboBox*>(Control(GeneralControl(change.first)));
        const auto handler = change.second;
        connect(combo, &QComboBox::currentIndexChanged, this, [this, handler] { Call(handler); });
    }
    const std::map<std::string, void (TInputEditor::*)()> leaves = {
        {GeneralControl("Ns"), &TInputEditor::NsLeft},
        {GeneralControl("Kf"), &TInputEditor::KfLeft},
        {GeneralControl("Ny"), &TInputEditor::NyLeft},
        {GeneralControl("CaMax"), &TInputEditor::CaMaxLeft},
        {GeneralControl("CbMax"), &TInputEditor::CbMaxLeft}};
    events_->Left = [this, leaves](QWidget* field) {
        const auto it = leaves.find(field->objectName().toStdString());
        if (it != leaves.end())
            Call(it->second);
    };
    events_->Enter = [this](QWidget* field) {
        PressEnter(field);
        return true;
    };
    events_->Escape = [this](QWidget* field) {
        PressEscape(field);
        return true;
    };
}

} // namespace veltra
