// Helpers of the main-window tests: a throw-away program folder, the settings
// store, event-loop waits, scripts and mouse clicks in a lesson page, and small
// movie files.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>

class QWebEngineView;
class QWidget;

namespace brv::frametest {

// Runs the event loop until done() or ms milliseconds have passed; done()'s
// last answer.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);
// Lets the event loop run for ms milliseconds.
void Pump(int ms);
// Destroys what deleteLater scheduled.
void FlushDeferredDeletes();
// Shows w and waits until it is on the screen.
void ShowAndWait(QWidget* w);

// Runs script in view's page and returns its result (invalid after 10 s).
QVariant RunScript(QWebEngineView* view, const QString& script);
// Presses and releases button in the middle of the first page element that
// matches selector, as a pupil's mouse does (unlike a scripted click, this
// counts as the user's own gesture for the page's history).  False when no
// element matches.
bool ClickElement(QWebEngineView* view, const QString& selector, Qt::MouseButton button = Qt::LeftButton);

// Empties the settings store (organisation "Karvelle", application "BRV_v4");
// the test entry gives each test program a config folder of its own.
void ClearSettings();
// Writes one raw value into the settings store.
void PutSetting(const QString& key, const QVariant& value);

// A program folder of its own, removed afterwards.
class TProgramFolder {
public:
    TProgramFolder();
    QString Path() const { return dir_.path(); }
    // Writes bytes to relative ("Flash/Voltage.swf"), making its folders.
    QString Add(const QString& relative, const QByteArray& bytes);
    QString AddImage(const QString& relative, const QImage& image);
    // A lesson start page ("html/index.html").
    void AddStartPage();
    // The Flash player of the build ("ruffle/"), linked in.
    void AddPlayer();

private:
    QTemporaryDir dir_;
};

// A picture with a horizon of colour bands, so scaling shows on real pixels.
QImage SplashPicture(int width, int height);

// An uncompressed Flash movie of width × height pixels: background colour,
// and a rectangle covering its whole stage in fill.
QByteArray MakeSwf(int width, int height, QColor background, QColor fill, int frameRate = 12);

}  // namespace brv::frametest
