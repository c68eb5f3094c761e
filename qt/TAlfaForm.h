#pragma once
// The drainage reaction-factor calculator's window, built from its controls as
// data (AlfaControlList in shell/UAlfaForm.h): six input fields with their labels,
// the drainage equation, the results QH1 and QH2, the rates of fall QH1/p and QH2/p
// and "Calculate", beside a picture of the drain geometry. Its logic is
// TAlfaFormLogic: leaving a field tests it, typing in one clears the results,
// "Calculate" computes them and writes QH1 and QH2 into the Drainage system group too.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QWidget>

#include "model/UDataMod.h"
#include "shell/UAlfaForm.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace veltra {

class ShellOps;
class TFieldEvents;
class TQtShellOps;

class TAlfaForm final : public QWidget {
public:
    // Registers its controls with `window`; its logic reaches them through `ops`
    // (the window's own or around them); `rec` receives QH1 and QH2.
    TAlfaForm(TInputRecord& rec, TQtShellOps& window, ShellOps& ops, QWidget* parent);
    ~TAlfaForm() override;

    TAlfaFormLogic& Logic() { return *logic_; }
    QLineEdit* Field(TAlfaField field) const;
    QLineEdit* QH1Edit = nullptr;
    QLineEdit* QH2Edit = nullptr;
    QLineEdit* FallQH1Edit = nullptr;
    QLineEdit* FallQH2Edit = nullptr;
    QPushButton* CalculateButton = nullptr;

private:
    // One control of the list in its place on `grid` (the window itself for its
    // panel); null for a kind the calculator has none of.
    QWidget* MakeControl(const TControlInfo& c, QGridLayout& grid);
    // The result fields read-only, the input fields in their Tab order, and their
    // typing, leaving and "Calculate" sent to the logic.
    void ConnectFields(TFieldEvents& events);
    // The user's events, each run to its end; nothing is thrown past them.
    void Changed(TAlfaField field);
    void Left(TAlfaField field);
    void Calculate();
    void Run(const std::function<void()>& body);

    std::unique_ptr<TAlfaFormLogic> logic_;
    TQtShellOps& window_;
    ShellOps& ops_;
    std::map<TAlfaField, QLineEdit*> fields_;
    bool busy_ = false;
};

} // namespace veltra
