#pragma once
// The window's pictures, drawn with QPainter so that they stay sharp at any size:
// the logo of the Intro page, the pictures the Input, Output and Graphics pages
// show while they have nothing else to show, and the figure of the input symbols
// (the three soil reservoirs, the water table, drains, a well and the flows), and
// the drain geometry of the drainage calculator.
#include <QWidget>

namespace veltra {

enum class TPictureKind { Logo, InputPage, OutputPage, GraphicsPage, Figure, DrainGeometry };

// The size the picture is drawn at; a widget scales it to fit, keeping its shape.
QSize PictureDesignSize(TPictureKind kind);
void DrawPicture(QPainter& painter, TPictureKind kind);

class TPictureWidget final : public QWidget {
public:
    explicit TPictureWidget(TPictureKind kind, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPictureKind kind_;
};

} // namespace veltra
