#pragma once

// What the chime helper and the program say to each other. The helper writes one line to
// its standard output: Started once the first samples are with the sound server, or why
// the chime cannot be played (in Czech) before it ends with a status other than zero.
namespace ChimeProtocol {

inline constexpr char Program[] = "vestrel_chime";
inline constexpr char Started[] = "started";

// Why a chime cannot be played, in the same words whichever player finds it out.
inline constexpr char NoSoundOutput[] = "Počítač nemá žádný zvukový výstup.";
inline constexpr char NoAnswer[] = "Zvukový server neodpovídá."; // not within the deadline

} // namespace ChimeProtocol
