#include "qt/TScreenshots.h"

#include <filesystem>
#include <ostream>

#include <QBuffer>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "model/ExampleInputs.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "qt/TCloseForm.h"
#include "qt/TMainForm.h"
#include "qt/TTextForms.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// Lets the window lay itself out and paint.
void Settle()
{
    for (int k = 0; k < 5; ++k)
        QCoreApplication::processEvents();
}

void Shot(QWidget& widget, const fs::path& path, std::ostream& log)
{
    widget.show();
    widget.raise();
    Settle();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!widget.grab().save(&buffer, "PNG"))
        throw TVeltraError(TErrorKind::File, CannotWriteMessage(path.string()));
    WriteWholeFile(path.string(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    log << "picture: " << path.string() << "\n";
}

void ShowPage(TMainForm& form, TPage page)
{
    form.Pages->setCurrentIndex(static_cast<int>(page));
    Settle();
}

} // namespace

int TakeScreenshots(const std::string& folder, std::ostream& log)
{
    try {
        fs::create_directories(folder);
        const fs::path dir = fs::canonical(folder);
        const fs::path input = dir / "field.inp";
        WriteWholeFile(input.string(), FieldExampleText());
        // The window works in its start folder: Error.lst and warning.lst go there.
        fs::current_path(dir);

        TAutoAnswers answers;
        answers.Files = {input.string(), (dir / "field.inp").string()};
        answers.Log = [&log](const std::string& line) { log << line << "\n"; };
        TMainForm form(&answers);
        form.show();
        Settle();

        form.InputOpen->trigger();
        ShowPage(form, TPage::Input);
        form.SaveRunButton->click();
        Settle();
        if (!form.Logic().State.OutputPresent || form.Pages->currentIndex() != static_cast<int>(TPage::Output) ||
            form.ResultMemo->toPlainText().isEmpty()) {
            log << "veltra-gui: the example gave no output\n";
            return 1;
        }
        Shot(form, dir / "output.png", log);
        Shot(*form.WarningForm, dir / "warning.png", log);

        form.GroupButton->click();
        form.GroupOptions->button(1)->setChecked(true);
        form.GoButton->click();
        Settle();
        Shot(form, dir / "output-group.png", log);
        form.SeeGraphButton->click();
        Settle();
        if (form.Pages->currentIndex() != static_cast<int>(TPage::Graphics)) {
            log << "veltra-gui: the chart of output group 1 was not drawn\n";
            return 1;
        }
        Shot(form, dir / "graphics.png", log);

        ShowPage(form, TPage::Intro);
        Shot(form, dir / "intro.png", log);
        ShowPage(form, TPage::Input);
        Shot(form, dir / "input.png", log);
        ShowPage(form, TPage::Figure);
        Shot(form, dir / "figure.png", log);

        Shot(*form.HelpForm, dir / "help.png", log);
        Shot(*form.InputSymbolsForm, dir / "input-symbols.png", log);
        Shot(*form.OutputSymbolsForm, dir / "output-symbols.png", log);
        Shot(*form.DrainForm, dir / "drain.png", log);
        Shot(*form.CloseForm, dir / "close.png", log);
        form.CloseForm->hide();
        return 0;
    } catch (const std::exception& e) {
        log << "veltra-gui: " << e.what() << "\n";
        return 1;
    }
}

} // namespace veltra
