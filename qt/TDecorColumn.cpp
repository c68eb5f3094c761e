#include "qt/TDecorColumn.h"

#include <QResizeEvent>
#include <QVBoxLayout>

namespace veltra {

TDecorColumn::TDecorColumn(QWidget* parent) : QWidget(parent)
{
    // Its own wishes do not count: the layout gives it what is left.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    inner_ = new QWidget(this);
    content_ = new QVBoxLayout(inner_);
    content_->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(inner_);
}

bool TDecorColumn::ContentShown() const
{
    return inner_->isVisibleTo(this);
}

bool TDecorColumn::event(QEvent* event)
{
    // What it holds changed (a hint shown or hidden): does it still fit?
    if (event->type() == QEvent::LayoutRequest)
        Follow();
    return QWidget::event(event);
}

void TDecorColumn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Follow();
}

void TDecorColumn::Follow()
{
    const QSize needed = content_->minimumSize();
    inner_->setVisible(width() >= needed.width() && height() >= needed.height());
}

} // namespace veltra
