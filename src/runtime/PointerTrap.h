// Keeps the mouse pointer inside part of a widget while a button is held
// there (reading cross-hairs against a scale without slipping off it).
//
// The widget grabs the mouse, and a pointer that leaves the area is put back
// on its nearest point.  A pointer left trapped would take the whole desktop
// with it, so the trap lets go on every way a drag can end: the owner's
// Release on button up, the window losing the focus, the widget hidden, the
// trap (with its form) destroyed.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

namespace brv {

class TPointerTrap : public QObject {
public:
    explicit TPointerTrap(QWidget* widget);
    ~TPointerTrap() override;

    // Traps the pointer in area (the widget's own coordinates).
    void Engage(const QRect& area);
    void Release();
    bool Engaged() const { return engaged_; }
    // The nearest point of the area to p (widget coordinates).
    QPoint Clamped(const QPoint& p) const;

    // Told when the trap let go by itself (the focus lost, the widget hidden),
    // so the owner can end its drag too.
    std::function<void()> OnLost;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lose();
    QPointer<QWidget> widget_;
    QRect area_;
    bool engaged_ = false;
};

}  // namespace brv
