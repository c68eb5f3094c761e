#pragma once
// The auxiliary windows that show a text: the rotation-key help, the two symbol
// lists, the runtime warnings and the explanation of subsurface drainage.
#include <string>

#include <QWidget>

#include "qt/TBaseForm.h"

class QPlainTextEdit;

namespace veltra {

// A read-only memo in a fixed-width font (the lists are laid out in columns).
QPlainTextEdit* MakeMemo(const std::string& text, const QString& objectName, QWidget* parent);

class THelpForm final : public TBaseForm {
public:
    explicit THelpForm(QWidget* parent);
    QPlainTextEdit* KrMemo;
};

class TInputSymbolsForm final : public TBaseForm {
public:
    explicit TInputSymbolsForm(QWidget* parent);
    QPlainTextEdit* InputSymbolsMemo;
};

class TOutputSymbolsForm final : public TBaseForm {
public:
    explicit TOutputSymbolsForm(QWidget* parent);
    QPlainTextEdit* OutputSymbolsMemo;
};

// Plain windows without a status line.
class TWarningForm final : public QWidget {
public:
    explicit TWarningForm(QWidget* parent);
    QPlainTextEdit* WarningMemo;
};

class TDrainForm final : public QWidget {
public:
    explicit TDrainForm(QWidget* parent);
    QPlainTextEdit* DrainMemo;
};

} // namespace veltra
