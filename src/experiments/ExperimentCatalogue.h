// Fills the runtime catalogue with every experiment form of the program.
#pragma once

namespace brv {

// Registers one row per experiment; safe to call more than once.
void RegisterExperiments();

}  // namespace brv
