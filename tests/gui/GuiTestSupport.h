#pragma once
// The real window on the offscreen platform, driven as a user drives it: a scratch
// folder, the scripted answers, and the clicks, keys and looks the widget tests share.
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "model/ExampleInputs.h"
#include "qt/TInputEditorPanels.h"
#include "qt/TMainForm.h"
#include "qt/TScriptedShellOps.h"
#include "shell/InputGroups.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra::test {

namespace fs = std::filesystem;

// Answers each modal window as it comes up with the next of Steps, a message box with
// OK when none is left, and notes every message box it answers.
class TModalAnswers {
public:
    struct TBox {
        QWidget* Over;
        int Width;
        QString Title;
        std::string Text;
    };
    TModalAnswers()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (modal == nullptr || !modal->isVisible() || (Steps.empty() && box == nullptr))
                return;
            if (box != nullptr)
                Boxes.push_back({box->parentWidget(), box->width(), box->windowTitle(), box->text().toStdString()});
            if (Steps.empty())
                return box->done(QMessageBox::Ok);
            const auto step = Steps.front();
            Steps.pop_front();
            step(modal);
        });
        timer_.start(5);
    }
    std::deque<std::function<void(QWidget*)>> Steps;
    std::vector<TBox> Boxes;

private:
    QTimer timer_;
};

class GuiTest : public ::testing::Test {
protected:
    static void Settle()
    {
        for (int k = 0; k < 3; ++k)
            QCoreApplication::processEvents();
    }
    std::string Path(const std::string& name) const { return scratch_.Path(name); }
    // The bundled field example, written into the scratch folder.
    std::string WriteField() const
    {
        WriteFile(dir_ / "field.inp", FieldExampleText());
        return Path("field.inp");
    }
    // A new window, answering from `answers`: the one the helpers below act on.
    TMainForm& NewForm(TAutoAnswers& answers)
    {
        form_.reset();
        form_ = std::make_unique<TMainForm>(Scripted(answers));
        return *form_;
    }
    template <class T = QWidget>
    T* Control(const std::string& name)
    {
        auto* w = qobject_cast<T*>(form_->EditorPanels->Control(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* Edit(const std::string& name) { return Control<QLineEdit>(name); }
    void Click(const std::string& button) { Control<QPushButton>(button)->click(); }
    // A group chosen in "Select data group" with the mouse, on the round indicator: a
    // radio button takes clicks on its indicator and caption only.
    void Choose(TGroupId id)
    {
        QAbstractButton* choice = form_->EditorPanels->Choices->button(static_cast<int>(id));
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
        Settle();
    }
    bool PanelVisible(TGroupId id) { return form_->EditorPanels->Panels.at(id)->isVisible(); }
    // Replaces a field's text by typing, as the user does.
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    std::string LastShown() const { return answers_.Shown.empty() ? std::string() : answers_.Shown.back(); }

    TScratchFolder scratch_{"veltra-gui", true};
    const fs::path& dir_ = scratch_.Dir;
    TAutoAnswers answers_;
    std::unique_ptr<TMainForm> form_;
};

} // namespace veltra::test
