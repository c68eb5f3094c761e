#pragma once
// A column of pictures and hints beside a page's data: it takes the room the data
// leave and gives it up first. Too narrow or too low for what it holds, it shows
// nothing rather than squeeze the data or make the window larger.
#include <QWidget>

class QVBoxLayout;

namespace veltra {

class TDecorColumn final : public QWidget {
public:
    explicit TDecorColumn(QWidget* parent);
    // The column's content, top to bottom.
    QVBoxLayout* Content() const { return content_; }
    // The content shows (the column has room for it).
    bool ContentShown() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Follow();

    QWidget* inner_;
    QVBoxLayout* content_;
};

} // namespace veltra
