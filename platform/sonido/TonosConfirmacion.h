#pragma once
// The samples of the two confirmation sounds, made here rather than read from
// a file, so that nothing can be missing at run time. 16-bit mono at 48 kHz.
#include <cstdint>
#include <vector>

namespace quimbal::sonido {

inline constexpr int kMuestrasPorSegundo = 48000;

// Accepted: two short tones a fifth apart, the second higher (60 ms): it
// reads as "yes" and is over before the next press can come.
std::vector<std::int16_t> TonoAceptada();
// Ignored: one low buzz, rich in odd harmonics (120 ms): unlike the other in
// pitch, length and timbre, so it is told apart without hearing both.
std::vector<std::int16_t> TonoIgnorada();

} // namespace quimbal::sonido
