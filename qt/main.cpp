// veltra-gui: the window. `veltra-gui [FILE.inp]` opens the file as "Open input
// file" would; `veltra-gui --screenshots DIR` runs the bundled example through the
// window without a display and saves a picture of every page and window.
#include <clocale>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>

#include "qt/Screenshots.h"
#include "qt/TInputEditorPanels.h"
#include "qt/TMainForm.h"
#include "qt/TQtShellOps.h"

namespace {

// The offscreen platform reports what it cannot do (raise a window, size hints):
// nothing a picture misses.
void QuietOffscreen(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith("This plugin does not support") ||
        text.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
        return;
    std::cerr << text.toStdString() << "\n";
}

const char* const Usage = "Usage: veltra-gui [FILE.inp]\n"
                          "       veltra-gui --screenshots DIR\n"
                          "       veltra-gui --help | --version\n"
                          "\n"
                          "FILE.inp            open this input file at the start\n"
                          "--screenshots DIR   run the bundled example through the window without a display and save\n"
                          "                    a picture (PNG) of every page and window in DIR, with the run's files\n";

// Our own options, before the application starts: --help and --version need no
// display. `screenshots` receives the folder of --screenshots. An exit status when
// the program ends here.
std::optional<int> ReadOwnOptions(int argc, char** argv, std::string& screenshots)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << Usage;
            return 0;
        }
        if (a == "--version") {
            std::cout << "veltra-gui " << VELTRA_VERSION << "\n";
            return 0;
        }
        if (a == "--screenshots") {
            if (i + 1 >= argc) {
                std::cerr << "veltra-gui: --screenshots needs a folder\n" << Usage;
                return 2;
            }
            screenshots = argv[i + 1];
        }
    }
    return std::nullopt;
}

// What Qt left of the arguments: an input file, or our screenshot option (with
// `screenshots`, no file). An exit status when they are wrong.
std::optional<int> ReadFiles(bool screenshots, std::vector<std::string>& files)
{
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const std::string a = args[i].toStdString();
        if (a == "--screenshots") {
            ++i;
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "veltra-gui: unknown option " << a << "\n" << Usage;
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() > 1 || (screenshots && !files.empty())) {
        std::cerr << "veltra-gui: too many arguments\n" << Usage;
        return 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    // The screenshots need the offscreen platform before the application starts.
    std::string screenshots;
    if (const std::optional<int> status = ReadOwnOptions(argc, argv, screenshots))
        return *status;
    if (!screenshots.empty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietOffscreen);
    }

    QApplication app(argc, argv);
    // Qt takes the user's locale; the number texts of the model keep the "." always.
    std::setlocale(LC_NUMERIC, "C");
    veltra::NameApplication();
    QApplication::setApplicationVersion(VELTRA_VERSION);

    std::vector<std::string> files;
    if (const std::optional<int> status = ReadFiles(!screenshots.empty(), files))
        return *status;
    if (!screenshots.empty())
        return veltra::TakeScreenshots(screenshots, std::cout);

    veltra::TMainForm form;
    form.show();
    if (!files.empty()) {
        form.Logic().OpenInputFile(files.front());
        form.EditorPanels->FocusOpenPanel();
    }
    return app.exec();
}
