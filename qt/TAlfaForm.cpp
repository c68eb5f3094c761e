#include "qt/TAlfaForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt/Pictures.h"
#include "qt/RunUserEvent.h"
#include "qt/TBaseForm.h"
#include "qt/TFieldEvents.h"
#include "qt/TQtShellOps.h"
#include "shell/ControlNames.h"

namespace veltra {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

TAlfaForm::TAlfaForm(TInputRecord& rec, TQtShellOps& window, ShellOps& ops, QWidget* parent)
    : QWidget(parent, AuxiliaryWindowFlags), logic_(std::make_unique<TAlfaFormLogic>(rec, ops)), window_(window),
      ops_(ops)
{
    auto* row = new QHBoxLayout(this);
    auto* picture = new TPictureWidget(TPictureKind::DrainGeometry, this);
    picture->setObjectName("AlfaGeometry_Image");
    picture->setFixedSize(PictureDesignSize(TPictureKind::DrainGeometry));
    row->addWidget(picture, 0, Qt::AlignTop);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(8);
    row->addLayout(grid, 1);

    // The form is the Qt parent of its field events and deletes them; the analyzer
    // cannot see that.
    // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
    auto* events = new TFieldEvents(this);
    for (const TControlInfo& c : AlfaControlList()) {
        QWidget* made = MakeControl(c, *grid);
        if (made == nullptr)
            continue;
        made->setObjectName(Q(c.Name));
        window.Register(c.Name, WidgetEntry(made));
    }
    grid->setRowStretch(grid->rowCount(), 1);
    ConnectFields(*events);
    resize(1020, 380);
    // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
}

QWidget* TAlfaForm::MakeControl(const TControlInfo& c, QGridLayout& grid)
{
    switch (c.Kind) {
    case TControlKind::Panel: setWindowTitle(Q(c.Text)); return this;
    case TControlKind::Label: {
        auto* label = new QLabel(Q(c.Text), this);
        if (c.Name == "AlfaEquation_Label") {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
            grid.addWidget(label, c.Row, 0, 1, 2);
        } else {
            grid.addWidget(label, c.Row, c.Column);
        }
        return label;
    }
    case TControlKind::Edit: {
        auto* edit = new QLineEdit(Q(c.Text), this);
        edit->setFixedWidth(110);
        grid.addWidget(edit, c.Row, c.Column, Qt::AlignLeft);
        return edit;
    }
    case TControlKind::Button: {
        auto* button = new QPushButton(Q(c.Text), this);
        grid.addWidget(button, c.Row, c.Column, Qt::AlignLeft);
        return button;
    }
    case TControlKind::RadioGroup:
    case TControlKind::RadioButton:
    case TControlKind::ComboBox: break;
    }
    return nullptr;
}

void TAlfaForm::ConnectFields(TFieldEvents& events)
{
    QH1Edit = findChild<QLineEdit*>(ctl::AlfaQH1);
    QH2Edit = findChild<QLineEdit*>(ctl::AlfaQH2);
    FallQH1Edit = findChild<QLineEdit*>(ctl::AlfaFallQH1);
    FallQH2Edit = findChild<QLineEdit*>(ctl::AlfaFallQH2);
    for (QLineEdit* result : {QH1Edit, QH2Edit, FallQH1Edit, FallQH2Edit})
        result->setReadOnly(true);
    CalculateButton = findChild<QPushButton*>(ctl::AlfaCalculate);
    QWidget* previous = nullptr;
    for (TAlfaField field : AlfaFields()) {
        QLineEdit* edit = findChild<QLineEdit*>(Q(AlfaControl(field)));
        fields_[field] = edit;
        events.Watch(edit);
        // Typed by the user (a text set by the logic is no typing).
        connect(edit, &QLineEdit::textEdited, this, [this, field] { Changed(field); });
        if (previous != nullptr)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
    }
    QWidget::setTabOrder(previous, CalculateButton);
    events.Left = [this](QWidget* w) {
        for (const auto& [field, edit] : fields_)
            if (edit == w)
                Left(field);
    };
    connect(CalculateButton, &QPushButton::clicked, this, [this] { Calculate(); });
}

TAlfaForm::~TAlfaForm()
{
    // The fields go after the logic: what they report on the way is not heard.
    busy_ = true;
}

void TAlfaForm::Changed(TAlfaField field)
{
    Run([this, field] { logic_->FieldChanged(field); });
}

void TAlfaForm::Left(TAlfaField field)
{
    Run([this, field] { logic_->FieldLeft(field); });
}

void TAlfaForm::Calculate()
{
    Run([this] { logic_->Calculate(); });
}

QLineEdit* TAlfaForm::Field(TAlfaField field) const
{
    return fields_.at(field);
}

void TAlfaForm::Run(const std::function<void()>& body)
{
    // Its messages stand over the calculator, which stays in front of the main window.
    const TQtShellOps::TOwner owner(window_, this);
    RunUserEvent(busy_, ops_, body);
}

} // namespace veltra
