#include "qt/TextForms.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "results/TextLists.h"
#include "shell/DrainExplanation.h"
#include "shell/HelpTexts.h"

namespace veltra {

namespace {

// A "Close" button at the right that hides the window.
void AddCloseButton(QDialog* form, QVBoxLayout* body)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* close = new QPushButton("Close", form);
    close->setObjectName("Close_Button");
    QObject::connect(close, &QPushButton::clicked, form, &QDialog::hide);
    row->addWidget(close);
    body->addLayout(row);
}

} // namespace

QPlainTextEdit* MakeMemo(const std::string& text, const QString& objectName, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setPlainText(QString::fromStdString(text));
    return memo;
}

THelpForm::THelpForm(QWidget* parent) : TBaseForm("Rotation key Kr", parent)
{
    KrMemo = MakeMemo(RotationKeyHelpText(), "KrMemo", this);
    Body()->addWidget(KrMemo, 1);
    AddCloseButton(this, Body());
    SetStatus("The rotation key Kr tells how A, B and U land change place over the seasons.");
    resize(820, 560);
}

TInputSymbolsForm::TInputSymbolsForm(QWidget* parent) : TBaseForm("Input symbols", parent)
{
    InputSymbolsMemo = MakeMemo(InputSymbolsText(), "InputSymbolsMemo", this);
    Body()->addWidget(InputSymbolsMemo, 1);
    AddCloseButton(this, Body());
    SetStatus("The symbols of the input data, their meaning and their units.");
    resize(940, 680);
}

TOutputSymbolsForm::TOutputSymbolsForm(QWidget* parent) : TBaseForm("Output symbols", parent)
{
    OutputSymbolsMemo = MakeMemo(OutputSymbolsText(), "OutputSymbolsMemo", this);
    Body()->addWidget(OutputSymbolsMemo, 1);
    SetStatus("The symbols of the result file, the tables and the graphs.");
    resize(940, 680);
}

TWarningForm::TWarningForm(QWidget* parent) : QWidget(parent, AuxiliaryWindowFlags)
{
    setWindowTitle("Warning");
    auto* body = new QVBoxLayout(this);
    WarningMemo = MakeMemo("", "WarningMemo", this);
    body->addWidget(WarningMemo);
    resize(760, 320);
}

TDrainForm::TDrainForm(QWidget* parent) : QWidget(parent, AuxiliaryWindowFlags)
{
    setWindowTitle(DrainFormCaption);
    auto* body = new QVBoxLayout(this);
    DrainMemo = MakeMemo(JoinLines(DrainExplanationLines()), "DrainMemo", this);
    body->addWidget(DrainMemo);
    resize(760, 560);
}

} // namespace veltra
