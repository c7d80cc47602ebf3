#include "common/Composition.h"
#include "shell/BRVrw.h"

int main(int argc, char** argv)
{
    // How the window reaches the screen is settled before anything of Qt
    // exists: without a GPU the software path costs a fraction of the CPU.
    brv::ChooseComposition();
    return brv::RunBrevalis(argc, argv);
}
