// Real mouse and key events sent to a widget, as the pupil's hand makes
// them: press, moves (hovering, or with the button held), release.  Sent
// straight to the widget: QTest moves the real cursor for a hover, which an
// offscreen window never sees.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace brv::test {

// pos in the widget's own coordinates.
inline void SendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void MousePress(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonPress, pos, button, button);
}

inline void MouseMove(QWidget* w, QPointF pos, Qt::MouseButtons held = Qt::NoButton)
{
    SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void MouseRelease(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void MouseClick(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    MousePress(w, pos, button);
    MouseRelease(w, pos, button);
}

inline void KeyPress(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

inline void KeyRelease(QWidget* w, int key)
{
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// A key pressed and let go.
inline void KeyClick(QWidget* w, int key)
{
    KeyPress(w, key);
    KeyRelease(w, key);
}

}  // namespace brv::test
