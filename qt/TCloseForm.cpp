#include "qt/TCloseForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/Pictures.h"
#include "shell/HelpTexts.h"
#include "shell/WindowMessages.h"

namespace veltra {

TCloseForm::TCloseForm(QWidget* parent) : TBaseForm("Veltra", parent)
{
    setModal(true);
    auto* row = new QHBoxLayout;
    auto* logo = new TPictureWidget(TPictureKind::Logo, this);
    logo->setFixedSize(160, 160);
    row->addWidget(logo, 0, Qt::AlignTop);
    auto* thanks = new QLabel(QString::fromStdString(ThankYouText()), this);
    thanks->setObjectName("ThankYou_Label");
    thanks->setWordWrap(true);
    QFont font = thanks->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    thanks->setFont(font);
    row->addWidget(thanks, 1);
    Body()->addLayout(row, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    FinishButton = new QPushButton("Finish", this);
    FinishButton->setObjectName("Finish_Button");
    FinishButton->setDefault(true);
    connect(FinishButton, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(FinishButton);
    Body()->addLayout(buttons);
    SetStatus(msg::CloseStatus);
    resize(560, 260);
}

} // namespace veltra
