#include "shell/BigPic.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/uPictureFile.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace brv {

TBigPicFrm::TBigPicFrm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(str::sPictureViewerCaption());
    setFixedSize(DesignedWidth, DesignedHeight);

    magPic_ = new QLabel(this);
    magPic_->setObjectName(QStringLiteral("MagPic"));
    magPic_->setCursor(Qt::PointingHandCursor);
    magPic_->setContextMenuPolicy(Qt::CustomContextMenu);
    magPic_->setGeometry(0, 0, 0, 0);
    magPic_->installEventFilter(this);

    popupMenu_ = new QMenu(this);
    copyPic1_ = popupMenu_->addAction(str::sCopyPicture());
    connect(copyPic1_, &QAction::triggered, this, &TBigPicFrm::CopyPic1Click);
    connect(magPic_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popupMenu_->popup(magPic_->mapToGlobal(pos)); });
    centreOnScreen();
}

void TBigPicFrm::Show(const QString& file)
{
    const QImage picture = QFileInfo(file).isFile() ? ReadWholePicture(file) : QImage();
    if (picture.isNull())
        return;
    picture_ = picture;
    magPic_->setPixmap(QPixmap::fromImage(picture_));
    magPic_->setGeometry(0, 0, picture_.width(), picture_.height());
    setFixedSize(picture_.size());
    centreOnScreen();
}

void TBigPicFrm::CopyPic1Click()
{
    if (!picture_.isNull())
        QGuiApplication::clipboard()->setImage(picture_);
}

void TBigPicFrm::ShowModal(const QString& file)
{
    TBigPicFrm viewer;
    viewer.Show(file);
    viewer.exec();
}

bool TBigPicFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == magPic_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TBigPicFrm::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace brv
