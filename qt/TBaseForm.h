#pragma once
// The base of the help, symbol and exit windows: a window with a one-part status line.
#include <string>

#include <QDialog>

class QLabel;
class QVBoxLayout;

namespace veltra {

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
