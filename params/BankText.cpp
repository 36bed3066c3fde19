#include "params/BankText.h"

namespace quillory {

// Sixteen programs, one per row; each sets all five values, so no record default shows.
// clang-format off
const char* const kBankText[] = {
    "NAME For Piano", "CHDP 0.357036", "CHTP 0", "CHSP 0.478872", "CHWV 1", "PCMX 0.430669",
    "NAME For Reed", "CHDP 0.235507", "CHTP 0", "CHSP 0.661281", "CHWV 1", "PCMX 0.633546",
    "NAME For Vibes", "CHDP 0.195329", "CHTP 1", "CHSP 0.691185", "CHWV 0", "PCMX 0.953399",
    "NAME For Flute", "CHDP 0.737863", "CHTP 1", "CHSP 0.173342", "CHWV 1", "PCMX 1.000000",
    "NAME For Organ", "CHDP 0.353125", "CHTP 2", "CHSP 0.587689", "CHWV 0", "PCMX 1.000000",
    "NAME For Synth Lead", "CHDP 0.227890", "CHTP 1", "CHSP 0.752862", "CHWV 0", "PCMX 1.000000",
    "NAME For Guitar", "CHDP 0.532632", "CHTP 1", "CHSP 0.149175", "CHWV 1", "PCMX 1.000000",
    "NAME For Synth Pad", "CHDP 0.849588", "CHTP 2", "CHSP 0.000000", "CHWV 0", "PCMX 0.678003",
    "NAME For Bass", "CHDP 0.589415", "CHTP 0", "CHSP 0.294016", "CHWV 1", "PCMX 0.705768",
    "NAME For Strings", "CHDP 0.382380", "CHTP 2", "CHSP 0.553349", "CHWV 1", "PCMX 0.727251",
    "NAME For Vox", "CHDP 0.441503", "CHTP 1", "CHSP 0.492013", "CHWV 0", "PCMX 0.847071",
    "NAME For Percussive", "CHDP 0.418928", "CHTP 1", "CHSP 0.633125", "CHWV 0", "PCMX 1.000000",
    "NAME For Brass", "CHDP 0.292476", "CHTP 1", "CHSP 0.411153", "CHWV 1", "PCMX 0.760817",
    "NAME Detune Delay", "CHDP 0.897296", "CHTP 2", "CHSP 0.369332", "CHWV 1", "PCMX 1.000000",
    "NAME Helicopter", "CHDP 0.482833", "CHTP 2", "CHSP 1.000000", "CHWV 1", "PCMX 1.000000",
    "NAME 4 Track", "CHDP 0.777225", "CHTP 2", "CHSP 0.267337", "CHWV 0", "PCMX 0.544678",
    "",
};
// clang-format on

} // namespace quillory
