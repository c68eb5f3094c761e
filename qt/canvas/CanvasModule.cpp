// The canvas module of `veltra chart` (graphs/CanvasModule.h): TQtCanvas with the
// QGuiApplication it needs, on the offscreen platform, so that no display is needed.
#include <iostream>
#include <memory>
#include <type_traits>

#include <QGuiApplication>
#include <QtGlobal>

#include "graphs/CanvasModule.h"
#include "qt/canvas/TQtCanvas.h"

namespace veltra {

namespace {

// Qt's notes about the platform (runtime folder, fonts) are not the user's business;
// only its critical messages reach stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << text.toStdString() << "\n";
}

// The quiet handler for as long as the canvas lives, Qt's own set up and torn down included.
struct TQuietMessages {
    TQuietMessages() : Previous(qInstallMessageHandler(QuietQtMessages)) {}
    ~TQuietMessages() { qInstallMessageHandler(Previous); }
    TQuietMessages(const TQuietMessages&) = delete;
    TQuietMessages& operator=(const TQuietMessages&) = delete;
    QtMessageHandler Previous;
};

// A TQtCanvas and, unless the host program has one, the application it paints in.
// The members are made in order and destroyed in reverse: the canvas goes before
// the application, the message handler last.
class TModuleCanvas final : public TCanvas {
public:
    TModuleCanvas() : app_(MakeApplication(argc_, argv_)) {}

    void FillRect(int left, int top, int right, int bottom, TColor colour) override
    {
        canvas_.FillRect(left, top, right, bottom, colour);
    }
    void SetPen(TColor colour, int width, bool dotted) override { canvas_.SetPen(colour, width, dotted); }
    void Line(int x1, int y1, int x2, int y2) override { canvas_.Line(x1, y1, x2, y2); }
    void Text(int x, int y, const std::string& text, TColor colour, TColor background, bool bold) override
    {
        canvas_.Text(x, y, text, colour, background, bold);
    }
    int TextWidth(const std::string& text, bool bold) override { return canvas_.TextWidth(text, bold); }
    int TextHeight(bool bold) override { return canvas_.TextHeight(bold); }
    std::string EncodedPicture(const std::string& format) override { return canvas_.EncodedPicture(format); }
    bool LoadFromFile(const std::string& path) override { return canvas_.LoadFromFile(path); }

private:
    static std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv)
    {
        if (QCoreApplication::instance() != nullptr)
            return nullptr;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }

    TQuietMessages quiet_;
    int argc_ = 1;
    char name_[7] = "veltra";
    char* argv_[2] = {name_, nullptr}; // QGuiApplication keeps argc and argv for its lifetime
    std::unique_ptr<QGuiApplication> app_;
    TQtCanvas canvas_;
};

} // namespace

} // namespace veltra

extern "C" Q_DECL_EXPORT veltra::TCanvas* veltra_create_canvas(int interfaceVersion)
{
    if (interfaceVersion != veltra::CanvasInterfaceVersion)
        return nullptr;
    return new veltra::TModuleCanvas;
}
static_assert(std::is_same_v<decltype(veltra_create_canvas), veltra::TCreateCanvasFunction>);
