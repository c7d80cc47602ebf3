// What the help reader process writes for the program: the objects of a
// compiled help file (.chm), length-prefixed, and an exit code that says why
// it stopped.  Both sides include this; the reader's side needs nothing but
// the C++ library, so the header holds no Qt.
//
// Reply (little-endian):
//   "BRVHELP1"
//   per object: 'O', path length u32, path (UTF-8, "/intro.htm"),
//               data length u32, data
//   'E', object count u32 — missing when the reader did not finish
#pragma once

#include <cstdint>

namespace brv::helpreply {

inline constexpr char Magic[] = "BRVHELP1";
inline constexpr int MagicLength = 8;
inline constexpr char ObjectTag = 'O';
inline constexpr char EndTag = 'E';

// No help object, and no help file as a whole, comes near these.
inline constexpr std::uint32_t MaxObjectBytes = 64u << 20;
inline constexpr std::uint64_t MaxTotalBytes = 64u << 20;
inline constexpr std::uint32_t MaxObjects = 20000;
inline constexpr std::uint32_t MaxPathBytes = 512;

// The reader's exit codes.  Anything else (a crash, a sanitizer's report, a
// limit of the system) means the file is damaged.
enum ExitCode : int {
    Read = 0,
    Usage = 2,
    NotAHelpFile = 3,  // chmlib does not open it as a compiled help file
    Damaged = 4,       // an object of its directory cannot be read
    TooLarge = 5,      // over the limits above
};

}  // namespace brv::helpreply
