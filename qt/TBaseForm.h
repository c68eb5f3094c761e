#pragma once
// The base of the help, symbol and exit windows: a window with a one-part status line.
#include <string>

#include <QDialog>

class QLabel;
class QVBoxLayout;

namespace veltra {

// The calculator, the drainage explanation and the warnings: windows of their own
// that the window manager keeps in front of the main window (as it keeps a dialogue
// above the window it belongs to), without blocking it.
inline constexpr Qt::WindowType AuxiliaryWindowFlags = Qt::Dialog;

class TBaseForm : public QDialog {
public:
    TBaseForm(const QString& caption, QWidget* parent);
    void SetStatus(const std::string& text);
    QString Status() const;

protected:
    // The window's content goes here, above the status line.
    QVBoxLayout* Body() const { return body_; }

private:
    QVBoxLayout* body_;
    QLabel* status_;
};

} // namespace veltra
