#include "shell/FrameTestSupport.h"

#include "experiments/ExperimentCatalogue.h"
#include "shell/BRVrw.h"
#include "shell/html_FileUtils.h"
#include "shell/uSettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <QWindow>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every shell test sees the program's catalogue, as the program does: the
// page router and the Experiments menu read it.
class CatalogueEnvironment : public ::testing::Environment {
public:
    void SetUp() override { brv::RegisterExperiments(); }
};
const ::testing::Environment* const kCatalogue =
    ::testing::AddGlobalTestEnvironment(new CatalogueEnvironment);

// Web views need the engine prepared before the QApplication of the test
// program exists, which is before main() runs.
const bool kWebEnginePrepared = (brv::PrepareWebEngine(), true);

}  // namespace

namespace brv::frametest {

bool WaitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void Pump(int ms)
{
    WaitFor([] { return false; }, ms);
}

void FlushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ShowAndWait(QWidget* w)
{
    w->show();
    WaitFor([w] { return w->isVisible() && w->windowHandle() != nullptr && w->windowHandle()->isExposed(); },
            5000);
    QCoreApplication::processEvents();
}

QVariant RunScript(QWebEngineView* view, const QString& script)
{
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&result, &done](const QVariant& value) {
        result = value;
        done = true;
    });
    WaitFor([&done] { return done; });
    return result;
}

bool ClickElement(QWebEngineView* view, const QString& selector, Qt::MouseButton button)
{
    const QVariantList centre =
        RunScript(view, QStringLiteral("(function () { var e = document.querySelector(%1);"
                                       " if (!e) return [];"
                                       " var r = e.getBoundingClientRect();"
                                       " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                            .arg(JsStringLiteral(selector)))
            .toList();
    QWidget* target = view->focusProxy();
    if (centre.size() != 2 || target == nullptr)
        return false;
    // The page measures in CSS pixels; the view shows them zoomed.
    const QPointF at(centre[0].toDouble() * view->zoomFactor(), centre[1].toDouble() * view->zoomFactor());
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
    return true;
}

void ClearSettings()
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    store->clear();
    store->sync();
}

void PutSetting(const QString& key, const QVariant& value)
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    store->setValue(key, value);
    store->sync();
}

TProgramFolder::TProgramFolder() = default;

QString TProgramFolder::Add(const QString& relative, const QByteArray& bytes)
{
    const QString path = QDir(dir_.path()).filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QString TProgramFolder::AddImage(const QString& relative, const QImage& image)
{
    const QString path = Add(relative, {});
    image.save(path);
    return path;
}

void TProgramFolder::AddStartPage()
{
    Add(QStringLiteral("html/index.html"),
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>index</title>"
        "<style>body{font-family:'Liberation Sans',sans-serif;margin:24px;color:#1b2c45}"
        "h1{color:#15428b;font-size:22px}li{margin:4px 0}</style></head><body>"
        "<h1>Brevalis lesson index</h1><ul><li>Physics<ul><li>Bouncing ball</li>"
        "<li>Terminal velocity</li></ul></li><li>Chemistry</li><li>Biology</li></ul>"
        "<div id=\"index\"></div></body></html>");
}

void TProgramFolder::AddPlayer()
{
    QFile::link(QStringLiteral(BRV_PROGRAM_DIR "/ruffle"),
                QDir(dir_.path()).filePath(QStringLiteral("ruffle")));
}

QImage SplashPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0x1d, 0x4f, 0x91));
    sky.setColorAt(1, QColor(0xa6, 0xc8, 0xf0));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(0, height * 2 / 3, width, height - height * 2 / 3), QColor(0x3c, 0x8d, 0x2f));
    p.setPen(Qt::white);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(height / 6);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, width, height * 2 / 3), Qt::AlignCenter, QStringLiteral("Brevalis"));
    return image;
}

// --- Flash movies -----------------------------------------------------------------

namespace {

class TBitWriter {
public:
    void Put(std::uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            current_ = std::uint8_t((current_ << 1) | ((value >> i) & 1u));
            if (++used_ == 8)
                flush();
        }
    }
    void PutSigned(int value, int bits) { Put(std::uint32_t(value) & ((1u << bits) - 1u), bits); }
    QByteArray Bytes()
    {
        if (used_ > 0) {
            current_ = std::uint8_t(current_ << (8 - used_));
            flush();
        }
        return bytes_;
    }

private:
    void flush()
    {
        bytes_.append(char(current_));
        current_ = 0;
        used_ = 0;
    }
    QByteArray bytes_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

QByteArray U16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}

QByteArray U32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, b.data());
    return b;
}

QByteArray Rgb(QColor c)
{
    QByteArray b;
    b.append(char(c.red())).append(char(c.green())).append(char(c.blue()));
    return b;
}

// A rectangle in twips: Nbits then Xmin, Xmax, Ymin, Ymax.
QByteArray Rect(int xMax, int yMax)
{
    TBitWriter w;
    const int bits = 17;
    w.Put(bits, 5);
    w.PutSigned(0, bits);
    w.PutSigned(xMax, bits);
    w.PutSigned(0, bits);
    w.PutSigned(yMax, bits);
    return w.Bytes();
}

QByteArray Tag(int code, const QByteArray& body)
{
    if (body.size() < 0x3F)
        return U16((code << 6) | int(body.size())) + body;
    return U16((code << 6) | 0x3F) + U32(quint32(body.size())) + body;
}

// DefineShape 1: one solid fill, a closed rectangle path.
QByteArray FilledRectShape(int w, int h, QColor fill)
{
    QByteArray body = U16(1) + Rect(w, h);
    body += char(1);  // one fill style
    body += char(0x00) + Rgb(fill);
    body += char(0);  // no line styles
    TBitWriter s;
    s.Put(1, 4);  // fill bits
    s.Put(0, 4);  // line bits
    const int bits = 17;
    // Style change: move to (0, 0) with fill style 1 on the right side.
    s.Put(0, 1);
    s.Put(0, 1);  // new styles
    s.Put(0, 1);  // line style
    s.Put(1, 1);  // fill style 1
    s.Put(0, 1);  // fill style 0
    s.Put(1, 1);  // move to
    s.Put(bits, 5);
    s.PutSigned(0, bits);
    s.PutSigned(0, bits);
    s.Put(1, 1);  // fill style 1 index
    const auto edge = [&s, bits](bool vertical, int delta) {
        s.Put(1, 1);  // edge
        s.Put(1, 1);  // straight
        s.Put(bits - 2, 4);
        s.Put(0, 1);  // not general
        s.Put(vertical ? 1 : 0, 1);
        s.PutSigned(delta, bits);
    };
    edge(false, w);
    edge(true, h);
    edge(false, -w);
    edge(true, -h);
    s.Put(0, 6);  // end of shape
    return Tag(2, body + s.Bytes());
}

}  // namespace

QByteArray MakeSwf(int width, int height, QColor background, QColor fill, int frameRate)
{
    const int w = width * 20;
    const int h = height * 20;
    QByteArray body = Rect(w, h) + U16(frameRate << 8) + U16(1);
    body += Tag(69, U32(0));          // file attributes
    body += Tag(9, Rgb(background));  // background colour
    body += FilledRectShape(w, h, fill);
    body += Tag(26, QByteArray(1, char(0x02)) + U16(1) + U16(1));  // place shape 1 at depth 1
    body += Tag(1, {});                                            // show frame
    body += Tag(0, {});                                            // end
    return QByteArray("FWS") + char(10) + U32(quint32(8 + body.size())) + body;
}

}  // namespace brv::frametest
