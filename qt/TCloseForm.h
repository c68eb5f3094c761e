#pragma once
// The exit window: a thank-you and "Finish". It is modal; "Finish" or closing it
// ends the program.
#include "qt/TBaseForm.h"

class QPushButton;

namespace veltra {

class TCloseForm final : public TBaseForm {
public:
    explicit TCloseForm(QWidget* parent);
    QPushButton* FinishButton;
};

} // namespace veltra
