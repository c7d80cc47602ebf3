// The program's application object: an error that escapes an event handler is
// shown in the standard error box and the program goes on, instead of the
// exception unwinding through Qt's event loop (which Qt does not allow).
#pragma once

#include <QApplication>

namespace brv {

class TBrevalisApplication : public QApplication {
    Q_OBJECT
public:
    TBrevalisApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // An error box is modal: events delivered while it is up may fail again
    // (a paint handler, say), and those are logged rather than stacking boxes.
    bool FReporting = false;
};

}  // namespace brv
