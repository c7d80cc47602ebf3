// The picture viewer: one lesson picture at its natural size.  A left click on
// the picture closes the viewer; a right click offers "Copy picture".
#pragma once

#include <QDialog>
#include <QImage>

class QAction;
class QLabel;
class QMenu;

namespace brv {

class TBigPicFrm : public QDialog {
    Q_OBJECT
public:
    // The client area before a picture is shown.
    static constexpr int DesignedWidth = 491;
    static constexpr int DesignedHeight = 326;

    explicit TBigPicFrm(QWidget* parent = nullptr);

    // Shows file (PNG, JPEG, BMP…) with the client area exactly its size.  A
    // missing or unreadable file leaves the designed size and no picture.
    void Show(const QString& file);
    const QImage& Picture() const { return picture_; }

    QLabel* MagPic() const { return magPic_; }
    QMenu* TBXPopupMenu1() const { return popupMenu_; }
    QAction* CopyPic1() const { return copyPic1_; }
    void CopyPic1Click();

    // What a "$" link does: a new viewer without owner, shown modally on file
    // and freed when closed.
    static void ShowModal(const QString& file);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();

    QLabel* magPic_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* copyPic1_ = nullptr;
    QImage picture_;
};

}  // namespace brv
