#include "qt/TBaseForm.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace veltra {

TBaseForm::TBaseForm(const QString& caption, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(caption);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    body_ = new QVBoxLayout;
    body_->setContentsMargins(10, 10, 10, 6);
    outer->addLayout(body_, 1);
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    status_ = new QLabel(bar);
    bar->addWidget(status_, 1);
    outer->addWidget(bar);
}

void TBaseForm::SetStatus(const std::string& text)
{
    status_->setText(QString::fromStdString(text));
    status_->repaint();
}

QString TBaseForm::Status() const
{
    return status_->text();
}

} // namespace veltra
