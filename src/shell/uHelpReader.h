// The help reader: a process of its own that opens a compiled help file with
// chmlib and writes every object of it to its standard output (uHelpReply.h).
//
// chmlib 0.40 crashes on some damaged files (a division by zero while
// opening, a null window in its LZX decoder, reads past its buffers), and a
// help file is read at the pupil's request from a folder anyone may have
// copied over.  Whatever chmlib does with a file, it does it in this process,
// which the program only waits for; a crash tells the program the file is
// damaged.
#pragma once

namespace brv {

// The reader's whole life: argv[1] is the help file.  Returns the exit code.
int RunHelpReader(int argc, char** argv);

}  // namespace brv
