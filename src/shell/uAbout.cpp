#include "shell/uAbout.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace brv {

namespace {

constexpr TColor32 SplashMarginColour = 0xFFFFFFFF;
constexpr TColor32 SplashBottomLineColour = 0xFF7F7F7F;

// The box is laid out in pixels and is not rescaled for the screen's dots per
// inch, so its font is sized in pixels too.
::QFont AboutFont()
{
    ::QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QRect& bounds, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(bounds);
    return label;
}

}  // namespace

TAboutFrm::TAboutFrm(const QString& programFolder, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(str::sAboutCaption());
    setFont(AboutFont());
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);

    pic_ = new TImage32(this);
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->setGeometry(0, 0, 500, 332);
    loadSplash(programFolder);

    label1_ = MakeLabel(this, QStringLiteral("Label1"), {12, 338, 163, 22}, str::sMakerWebCaption());
    ::QFont linkFont = label1_->font();
    linkFont.setUnderline(true);
    label1_->setFont(linkFont);
    label1_->setStyleSheet(QStringLiteral("color: blue;"));
    label1_->setCursor(Qt::PointingHandCursor);
    label1_->installEventFilter(this);

    label4_ = MakeLabel(this, QStringLiteral("Label4"), {11, 356, 194, 38}, str::sMakerContact());
    label4_->setWordWrap(true);
    label4_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    versionLabel_ = MakeLabel(this, QStringLiteral("VersionLabel"), {373, 336, 81, 22},
                              str::sAboutVersion() + QStringLiteral(BRV_VERSION));

    speedButton1_ = new QPushButton(str::sAboutOK(), this);
    speedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1_->setGeometry(368, 361, 93, 33);
    speedButton1_->setDefault(true);
    connect(speedButton1_, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutFrm::loadSplash(const QString& programFolder)
{
    const QString file = ResolveInFolder(programFolder, QStringLiteral("HTML\\images\\Splash.png"));
    if (!QFileInfo(file).isFile())
        return;
    TBitmap32& bitmap = pic_->Bitmap();
    bitmap.BeginUpdate();
    if (bitmap.LoadFromFile(file) && !bitmap.Empty()) {
        const int w = bitmap.Width();
        const int h = bitmap.Height();
        bitmap.FillRect(0, 0, w, SplashMargin, SplashMarginColour);
        bitmap.FillRect(0, 0, SplashMargin, h, SplashMarginColour);
        bitmap.FillRect(0, h - SplashMargin, w, h, SplashMarginColour);
        bitmap.FillRect(w - SplashMargin, 0, w, h, SplashMarginColour);
        bitmap.HorzLine(0, h - 1, w, SplashBottomLineColour);
    }
    bitmap.EndUpdate();
    // The picture control sizes itself to its bitmap.
    pic_->resize(bitmap.Width(), bitmap.Height());
}

void TAboutFrm::Label1Click()
{
    QDesktopServices::openUrl(QUrl(str::sMakerWebAddress()));
}

bool TAboutFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label1_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace brv
