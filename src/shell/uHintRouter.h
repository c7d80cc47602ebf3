// Every control of the main window (a floating toolbar included) shows its
// hint in the status line while the mouse is over it, as the menu items do.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace brv {

class THintRouter : public QObject {
public:
    // show is given the hint of the control the mouse entered, and an empty
    // text when it left.
    THintRouter(QWidget* window, std::function<void(const QString&)> show);
    ~THintRouter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(const QWidget* w) const;

    QWidget* window_;
    std::function<void(const QString&)> show_;
};

}  // namespace brv
