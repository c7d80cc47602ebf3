// Heat of neutralisation: the temperature of the mixture against the volume
// of acid run in, two or three runs.  Its controls sit in the form's own
// panels, not on a toolbar.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uThermoChem {
    Q_DECLARE_TR_FUNCTIONS(uThermoChem)
};
}  // namespace

std::vector<TResultsTableDeclaration> ThermoChemTables()
{
    using T = uThermoChem;
    const QString molar = T::tr("M");
    // The burette's bar counts tenths of a cubic centimetre.
    const TResultsVariable acid =
        Setting("acidAdded", T::tr("Volume of acid added"), T::tr("cm³"), "VolumeHsb", 0.1, 1);
    const TResultsVariable hydrochloric = Setting("acid", T::tr("Acid"), {}, "AcidDP");
    const TResultsVariable acidConcentration =
        Setting("acidConcentration", T::tr("Acid concentration"), molar, "AcidConcSE", 1, 1);
    const TResultsVariable baseConcentration =
        Setting("baseConcentration", T::tr("Alkali concentration"), molar, "BaseConcSE", 1, 1);
    const TResultsVariable baseVolume =
        Setting("baseVolume", T::tr("Volume of alkali"), T::tr("cm³"), "BaseVolumeSE");
    const TResultsVariable temperature =
        Reading("temperature", T::tr("Temperature"), T::tr("ºC"), -20, 150, 1);
    std::vector<double> volumes;
    for (int v = 0; v <= 40; v += 2)
        volumes.push_back(v);
    return {
        {"neutralisation",
         T::tr("Volume of acid added → temperature"),
         acid,
         temperature,
         3,
         {hydrochloric, acidConcentration, baseConcentration, baseVolume},
         volumes},
    };
}

}  // namespace brv
