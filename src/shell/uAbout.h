// The About box: the splash picture framed by a white margin and a grey bottom
// line, the program's version, the maker's web address (a link that opens the
// default browser) and the maker's contact lines.
#pragma once

#include "runtime/ProgramFolder.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace brv {

class TImage32;

class TAboutFrm : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 499;
    static constexpr int ClientHeight = 410;
    static constexpr int SplashMargin = 10;

    explicit TAboutFrm(const QString& programFolder = DefaultProgramFolder(), QWidget* parent = nullptr);

    TImage32* Pic() const { return pic_; }
    QLabel* Label1() const { return label1_; }
    QLabel* Label4() const { return label4_; }
    QLabel* VersionLabel() const { return versionLabel_; }
    QPushButton* SpeedButton1() const { return speedButton1_; }

    // Opens the maker's web site in the user's default browser.
    void Label1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSplash(const QString& programFolder);

    TImage32* pic_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QPushButton* speedButton1_ = nullptr;
};

}  // namespace brv
