#pragma once
#include <QWidget>

// Frees a widget from the event loop: a frame's viewer or a frame set may be
// replaced from inside its own mouse handler (a click that loads the frame),
// so it must outlive the handler.
struct TLaterDeleter {
    void operator()(QWidget* widget) const
    {
        if (widget) {
            widget->hide();
            widget->deleteLater();
        }
    }
};
