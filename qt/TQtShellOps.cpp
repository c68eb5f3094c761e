#include "qt/TQtShellOps.h"

#include <filesystem>
#include <stdexcept>

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QThread>
#include <QWindow>

#include "model/TVeltraError.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A box as wide as its caption needs: a window manager cuts a caption that is wider
// than the box, and draws it in a larger, bold font beside its own buttons.
QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preset)
{
    QMessageBox box(icon, ApplicationTitle, text, buttons, parent);
    box.setDefaultButton(preset);
    QFont caption = box.font();
    caption.setBold(true);
    caption.setPointSizeF(caption.pointSizeF() * 1.2);
    const int room = QFontMetrics(caption).horizontalAdvance(box.windowTitle()) + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

TControlEntry WidgetEntry(QWidget* w)
{
    TControlEntry e;
    e.SetVisible = [w](bool v) {
        w->setVisible(v);
        w->update();
    };
    e.SetEnabled = [w](bool v) { w->setEnabled(v); };
    e.SetText = [w](const std::string& text) {
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(Q(text));
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(Q(text));
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(Q(text));
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            memo->setPlainText(Q(text));
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            box->setTitle(Q(text));
        else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            // Set by the logic, not chosen by the user: no change event.
            const QSignalBlocker quiet(combo);
            combo->setCurrentIndex(combo->findText(Q(text), Qt::MatchExactly));
        }
    };
    e.GetText = [w]() -> std::string {
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit->text().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            return button->text().toStdString();
        if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            return memo->toPlainText().toStdString();
        if (auto* box = qobject_cast<QGroupBox*>(w))
            return box->title().toStdString();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->currentText().toStdString();
        return {};
    };
    return e;
}

void NameApplication()
{
    QGuiApplication::setApplicationName("veltra-gui");
}

TQtShellOps::TQtShellOps(QWidget* parent) : parent_(parent), watching_(std::make_unique<QObject>())
{
    // The window the user turns to comes to the front; boxes, dialogs and popups
    // are no windows of their own here.
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, watching_.get(), [this](QWindow* window) {
        if (QWidget* own = OwnWindow(window))
            front_ = own;
    });
}

TQtShellOps::~TQtShellOps() = default;

TQtShellOps::TOwner::TOwner(TQtShellOps& ops, QWidget* window) : ops_(ops), previous_(ops.owner_)
{
    ops_.owner_ = window;
}

TQtShellOps::TOwner::~TOwner()
{
    ops_.owner_ = previous_;
}

QWidget* TQtShellOps::OwnWindow(const QWindow* window) const
{
    if (window == nullptr)
        return nullptr;
    if (parent_->windowHandle() == window)
        return parent_;
    for (const auto& [id, widget] : windows_)
        if (widget != nullptr && widget->windowHandle() == window)
            return widget;
    return nullptr;
}

QWidget* TQtShellOps::FrontWindow() const
{
    if (owner_ != nullptr && owner_->isVisible())
        return owner_;
    if (front_ != nullptr && front_->isVisible())
        return front_;
    return parent_;
}

void TQtShellOps::Register(const std::string& name, TControlEntry entry)
{
    controls_[name] = std::move(entry);
}

const TControlEntry& TQtShellOps::Entry(const std::string& control) const
{
    const auto it = controls_.find(control);
    if (it == controls_.end())
        throw TVeltraError(TErrorKind::Internal, "The window has no control named " + control);
    return it->second;
}

// ---------------------------------------------------------------- boxes and dialogs

void TQtShellOps::ShowMessage(const std::string& text)
{
    Ask(FrontWindow(), QMessageBox::Information, Q(text), QMessageBox::Ok, QMessageBox::Ok);
}

bool TQtShellOps::AskYesNo(const std::string& text)
{
    // Closing the box counts as No.
    return Ask(FrontWindow(), QMessageBox::Question, Q(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

std::optional<std::string> TQtShellOps::ChooseFile(TDialog dialog)
{
    const TDialogInfo info = DialogInfo(dialog);
    QFileDialog box(FrontWindow(), info.Caption, Q(folders_[dialog]));
    box.setNameFilter(info.Filter);
    box.setDefaultSuffix(info.DefaultExt);
    if (info.Save) {
        box.setAcceptMode(QFileDialog::AcceptSave);
        box.setFileMode(QFileDialog::AnyFile);
        // The workflow asks "The file already exists, overwrite?" itself.
        box.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        box.setAcceptMode(QFileDialog::AcceptOpen);
        box.setFileMode(QFileDialog::ExistingFile);
    }
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().front().toStdString();
}

std::optional<std::string> TQtShellOps::ChooseOpenFile(TDialog dialog)
{
    return ChooseFile(dialog);
}

std::optional<std::string> TQtShellOps::ChooseSaveFile(TDialog dialog)
{
    return ChooseFile(dialog);
}

std::optional<std::string> TQtShellOps::ChooseFolder(TDialog dialog)
{
    const TDialogInfo info = DialogInfo(dialog);
    QFileDialog box(FrontWindow(), info.Caption, Q(folders_[dialog]));
    box.setFileMode(QFileDialog::Directory);
    box.setOption(QFileDialog::ShowDirsOnly);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().front().toStdString();
}

void TQtShellOps::SetDialogFolder(TDialog dialog, const std::string& folder)
{
    folders_[dialog] = folder;
}

void TQtShellOps::SetStatus(const std::string& text)
{
    if (status_ == nullptr)
        return;
    status_->setText(Q(text));
    status_->repaint();
}

// ---------------------------------------------------------------- busy box

void TQtShellOps::RepaintBusy()
{
    // Painted now: a run does not return to the event loop before it ends.
    busy_->repaint();
    busy_->viewport()->repaint();
}

void TQtShellOps::BusyShow()
{
    busy_->show();
    RepaintBusy();
}

void TQtShellOps::BusyClear()
{
    busy_->clear();
    RepaintBusy();
}

void TQtShellOps::BusyAddLine(const std::string& line)
{
    busy_->appendPlainText(Q(line));
    RepaintBusy();
}

void TQtShellOps::BusyReplaceText(const std::string& text)
{
    busy_->setPlainText(Q(text));
    RepaintBusy();
}

void TQtShellOps::BusyHide()
{
    busy_->hide();
}

void TQtShellOps::Pause(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

// ---------------------------------------------------------------- pages and controls

void TQtShellOps::ShowPage(TPage page)
{
    // The window logic runs the page's behaviour itself.
    const QSignalBlocker quiet(pages_);
    pages_->setCurrentIndex(static_cast<int>(page));
}

void TQtShellOps::ShowControl(const std::string& control)
{
    Entry(control).SetVisible(true);
}

void TQtShellOps::HideControl(const std::string& control)
{
    Entry(control).SetVisible(false);
}

void TQtShellOps::EnableControl(const std::string& control)
{
    Entry(control).SetEnabled(true);
}

void TQtShellOps::DisableControl(const std::string& control)
{
    Entry(control).SetEnabled(false);
}

void TQtShellOps::SetControlText(const std::string& control, const std::string& text)
{
    Entry(control).SetText(text);
}

std::string TQtShellOps::GetControlText(const std::string& control)
{
    return Entry(control).GetText();
}

// ---------------------------------------------------------------- result text

void TQtShellOps::FlushText()
{
    if (!cleared_ && pendingLines_.empty())
        return;
    // One hand-over: a result file of 99 years has tens of thousands of lines.
    const std::string text = JoinLines(pendingLines_);
    if (cleared_)
        text_->setPlainText(Q(text));
    else
        text_->appendPlainText(Q(text));
    pendingLines_.clear();
    cleared_ = false;
}

void TQtShellOps::TextClear()
{
    pendingLines_.clear();
    cleared_ = true;
}

void TQtShellOps::TextAddLine(const std::string& line)
{
    pendingLines_.push_back(line);
}

void TQtShellOps::TextShow()
{
    FlushText();
    text_->show();
}

void TQtShellOps::TextHide()
{
    FlushText();
    text_->hide();
}

// ---------------------------------------------------------------- grid

void TQtShellOps::GridSetSize(int columns, int rows)
{
    grid_->setColumnCount(columns);
    grid_->setRowCount(rows);
}

void TQtShellOps::GridSetCell(int column, int row, const std::string& text)
{
    if (column < 0 || row < 0 || column >= grid_->columnCount() || row >= grid_->rowCount())
        throw TVeltraError(TErrorKind::Internal, "Grid cell outside the grid");
    QTableWidgetItem* item = grid_->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(row, column, item);
    }
    item->setText(Q(text));
    // Row 0 holds the heads, columns 0 and 1 the year and the season.
    if (row == 0 || column < 2) {
        QFont font = item->font();
        font.setBold(row == 0);
        item->setFont(font);
        item->setBackground(grid_->palette().button());
    } else {
        item->setBackground(grid_->palette().base());
    }
}

void TQtShellOps::GridShow()
{
    grid_->show();
}

void TQtShellOps::GridHide()
{
    grid_->hide();
}

// ---------------------------------------------------------------- windows

void TQtShellOps::ShowWindow(TWindow window)
{
    if (window == TWindow::Close) {
        if (exit_)
            exit_();
        return;
    }
    const auto it = windows_.find(window);
    if (it == windows_.end() || it->second == nullptr)
        return; // a window that is not built (yet)
    it->second->show();
    it->second->raise();
    it->second->activateWindow(); // ready for typing: the calculator's fields
    // In front now, before the window system says so: a message that follows in the
    // same event stands over it and leaves it in front.
    front_ = it->second;
}

void TQtShellOps::HideWindow(TWindow window)
{
    const auto it = windows_.find(window);
    if (it != windows_.end() && it->second != nullptr) {
        it->second->hide();
        if (front_ == it->second)
            front_ = nullptr;
    }
}

// ---------------------------------------------------------------- printing

void TQtShellOps::PrintFile(const std::string& path)
{
    std::vector<std::string> lines;
    ReadTextLines(path, lines); // throws, naming the file, when it cannot be read
    PrintText(fs::path(path).filename().string(), lines);
}

void TQtShellOps::PrintText(const std::string& title, const std::vector<std::string>& lines)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, FrontWindow());
    dialog.setWindowTitle("Print " + Q(title));
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\n");
    // The files are laid out in columns: a fixed-width font keeps them.
    QTextDocument document;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    document.setDefaultFont(font);
    document.setPlainText(Q(text));
    document.print(&printer);
}

void TQtShellOps::PrintPicture(const std::string& title)
{
    QPrinter printer;
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, FrontWindow());
    dialog.setWindowTitle("Print " + Q(title));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The whole chart, as large as the page allows, its proportions kept.
    const QImage& image = canvas_.Image();
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
}

void TQtShellOps::SetClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(Q(text));
}

} // namespace veltra
