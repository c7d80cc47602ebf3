// The help reader with a fault of ours planted in it: it reads past the end
// of a buffer of its own before it reads the file.  Built with the address
// sanitizer in every build, so the tests can show that a fault of ours in
// the reader is told from chmlib's faults on damaged files.
#include "shell/uHelpReader.h"

#include <vector>

namespace brv {
namespace {

// argc keeps the compiler from seeing the index.
__attribute__((noinline)) int ReadPastTheEnd(int argc)
{
    std::vector<int> buffer(4, 0);
    return buffer.data()[argc + 2];
}

}  // namespace
}  // namespace brv

int main(int argc, char** argv)
{
    volatile int planted = brv::ReadPastTheEnd(argc);
    (void)planted;
    return brv::RunHelpReader(argc, argv);
}
