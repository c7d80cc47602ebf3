#include "shell/uFlashPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QHideEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace brv {

namespace {

const QString kHostPage = QStringLiteral("FlashHost.html");
const QString kPlayerScript = QStringLiteral("ruffle.js");

}  // namespace

TFlashPanel::TFlashPanel(const QString& programFolder, QWidget* parent)
    : QWidget(parent), playerFolder_(QDir(programFolder).filePath(QStringLiteral("ruffle")))
{
    setObjectName(QStringLiteral("FlashPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

bool TFlashPanel::PlayerAvailable() const
{
    const QDir folder(playerFolder_);
    return QFileInfo(folder.filePath(kHostPage)).isFile() &&
           QFileInfo(folder.filePath(kPlayerScript)).isFile();
}

QUrl TFlashPanel::PlayerUrl(const QString& moviePath) const
{
    QUrl url = QUrl::fromLocalFile(QDir(playerFolder_).filePath(kHostPage));
    // Encoded whole, so no character of the path ("&", "+", "%") can be read
    // as part of the query's own syntax.
    const QByteArray movie = QUrl::fromLocalFile(moviePath).toEncoded(QUrl::FullyEncoded);
    url.setQuery(
        QStringLiteral("movie=") + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLatin1(movie))),
        QUrl::StrictMode);
    return url;
}

QWebEngineView* TFlashPanel::ensureView()
{
    if (flash_ != nullptr)
        return flash_;
    // Made on the first movie: most lessons never show one, and a web view
    // is the heaviest thing the program has.
    flash_ = new QWebEngineView(this);
    flash_->setObjectName(QStringLiteral("Flash"));
    flash_->setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineSettings* settings = flash_->settings();
    // The movies' sounds start with the movie, as in the Flash player.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    layout()->addWidget(flash_);
    return flash_;
}

void TFlashPanel::LoadMovie(const QString& path)
{
    if (!QFileInfo(path).isFile() || !PlayerAvailable())
        return;
    moviePath_ = QFileInfo(path).absoluteFilePath();
    ensureView()->setUrl(PlayerUrl(moviePath_));
}

bool TFlashPanel::Playing() const
{
    return flash_ != nullptr && flash_->url().scheme() != QLatin1String("about") && !flash_->url().isEmpty();
}

// A hidden movie would go on using the processor and playing its sound: it
// is unloaded with its panel and starts again when the panel comes back.
void TFlashPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && Playing())
        flash_->setUrl(QUrl(QStringLiteral("about:blank")));
}

void TFlashPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // After the event that showed the panel: that may be the loading of
    // another movie, which then plays instead.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && flash_ != nullptr && !moviePath_.isEmpty() && !Playing())
                flash_->setUrl(PlayerUrl(moviePath_));
        });
}

}  // namespace brv
