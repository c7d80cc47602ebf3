#include "shell/BRVrw.h"

int main(int argc, char** argv)
{
    return brv::RunBrevalis(argc, argv);
}
