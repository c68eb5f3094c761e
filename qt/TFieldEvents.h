#pragma once
// What a field of the input editor or the calculator tells besides its own
// signals: that the user left it, and Enter or Esc pressed in it.
#include <functional>

#include <QObject>

class QWidget;

namespace veltra {

class TFieldEvents final : public QObject {
public:
    explicit TFieldEvents(QObject* parent) : QObject(parent) {}

    // The field lost the focus to another field or button of its window (not to a
    // message box, a popup or another window, and not because it was hidden).
    std::function<void(QWidget*)> Left;
    // Enter or Return, and Esc; the key is taken when the function says so.
    std::function<bool(QWidget*)> Enter;
    std::function<bool(QWidget*)> Escape;

    // Watches `field`.
    void Watch(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace veltra
