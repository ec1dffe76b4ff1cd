#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the settings file's reading and replacing tells the user when it fails, the same on
// every platform: the file as the user knows it, and the system's reason in Czech.
namespace FileErrors {

// Far beyond any settings file: a larger one is neither read nor replaced.
constexpr std::int64_t MaxSize = std::int64_t(64) << 20;

std::u16string tooLarge(std::u16string_view shown, std::int64_t size);
std::u16string cannotRead(std::u16string_view shown, std::u16string_view reason);
std::u16string cannotOpenForWriting(std::u16string_view shown, std::u16string_view reason);
std::u16string writeFailed(std::u16string_view shown, std::u16string_view reason);
std::u16string notOrdinary(std::u16string_view shown); // a device, a FIFO
std::u16string isFolder(std::u16string_view shown);
std::u16string readOnly(std::u16string_view shown);

} // namespace FileErrors
