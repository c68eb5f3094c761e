#include "qt/TFieldEvents.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace veltra {

void TFieldEvents::Watch(QWidget* field)
{
    field->installEventFilter(this);
}

bool TFieldEvents::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QWidget*>(watched);
    if (field == nullptr)
        return false;
    if (event->type() == QEvent::FocusOut && Left) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box shown by a handler takes the focus too: that is no leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && field->isVisible())
            Left(field);
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Enter)
            return Enter(field);
        if (key == Qt::Key_Escape && Escape)
            return Escape(field);
    }
    return false;
}

} // namespace veltra
