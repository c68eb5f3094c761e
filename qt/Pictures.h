#pragma once
// The window's pictures, drawn with QPainter so that they stay sharp at any size:
// the logo of the Intro page, the pictures the Input, Output and Graphics pages
// show while they have nothing else to show, and the figure of the input symbols
// (the three soil reservoirs, the water table, drains, a well and the flows), and
// the drain geometry of the drainage calculator.
#include <QString>
#include <QWidget>

namespace veltra {

enum class TPictureKind { Logo, InputPage, OutputPage, GraphicsPage, Figure, DrainGeometry };

// The size the picture is drawn at; a widget scales it to fit, keeping its shape.
QSize PictureDesignSize(TPictureKind kind);
// `caption` names the input file on the Input page's picture ("new data set" when empty).
void DrawPicture(QPainter& painter, TPictureKind kind, const QString& caption = {});

class TPictureWidget final : public QWidget {
public:
    explicit TPictureWidget(TPictureKind kind, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Its shape, when its size policy asks for height for width.
    int heightForWidth(int width) const override;
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPictureKind kind_;
    QString caption_;
};

} // namespace veltra
