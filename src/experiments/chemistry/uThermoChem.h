// Heat of neutralisation: acid from a burette runs into a beaker of sodium
// hydroxide solution; a liquid-in-glass thermometer with its lens, or a
// digital one, shows the mixture's temperature.  The pupil adds or takes back
// acid on a vertical scroll bar.
//
// This form has no toolbar: its controls sit on three panels docked down its
// own left side, which can be neither closed nor dragged out of it; the host
// shows and hides them through ShowToolPanels.
#pragma once

#include "experiments/chemistry/uThermoChemModel.h"
#include "runtime/Catalogue.h"
#include "runtime/PictureForm.h"

#include <QDockWidget>

#include <initializer_list>
#include <vector>

class QDoubleSpinBox;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId ThermoChem = 8;
}  // namespace ids

// A panel of the form's own dock: stays in it and never closes — a close
// request (AcidDPCloseQuery) is refused and the panel stays where it is.
class TToolPanel : public QDockWidget {
public:
    TToolPanel(const QString& title, const QString& name, QWidget* parent);
    void AcidDPCloseQuery();

protected:
    void closeEvent(QCloseEvent* event) override;
};

class TThermoChemFrm : public TRedrawnForm {
    Q_OBJECT
public:
    explicit TThermoChemFrm(QWidget* parent = nullptr);
    ~TThermoChemFrm() override;

    // Widths of the dock and its editors, and the panels' font, follow the
    // button size (no scaling with the screen).
    void SetLargeButtons(bool large) override;
    void ShowToolPanels(bool visible) override;

    const TThermoChemModel& Model() const { return model_; }
    float MixTemp() const { return model_.MixTemp; }
    // The tap is open and acid runs while the pupil moves towards more acid.
    bool AcidFlowing() const { return AcidFlowing_; }

    QMainWindow* LeftDock = nullptr;
    TToolPanel* AcidDP = nullptr;
    TToolPanel* BaseDP = nullptr;
    TToolPanel* ApparatusDP = nullptr;
    QRadioButton* HAbtn = nullptr;
    QRadioButton* SAbtn = nullptr;
    QDoubleSpinBox* AcidConcSE = nullptr;
    QPushButton* ResetBtn = nullptr;
    QDoubleSpinBox* BaseConcSE = nullptr;
    QSpinBox* BaseVolumeSE = nullptr;
    QRadioButton* ThermoBtn = nullptr;
    QRadioButton* DigitalBtn = nullptr;
    QScrollBar* VolumeHsb = nullptr;

private:
    void FormCreate();
    void createPanels();
    TToolPanel* addPanel(const QString& title, const QString& name, std::initializer_list<QWidget*> controls);
    // The panels' font, the button's and the editors' widths, small or large.
    void sizeItems(bool large);
    std::vector<QWidget*> Editors() const;
    void VolumeHsbScroll(int position, bool endOfScroll);
    void ResetBtnClick();
    void AcidConcSEValueChange();

    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void DrawDigitalThermometer(TBitmap32& b);

    TThermoChemModel model_;
    bool AcidFlowing_ = false;
    int LastVolumePos = 0;
};

}  // namespace brv
