// brv-helpreader: reads a compiled help file for the program in a process of
// its own (shell/uHelpReader.h), so a damaged file can never take the program
// down.
#include "shell/uHelpReader.h"

int main(int argc, char** argv)
{
    return brv::RunHelpReader(argc, argv);
}
