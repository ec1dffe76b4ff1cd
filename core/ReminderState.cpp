#include "core/ReminderState.h"

#include "core/Conversions.h"
#include "core/Files.h"
#include "core/Text.h"

#include <utility>

namespace {

// Where each value lives in data.ini.
constexpr std::u16string_view Texts = u"texts";
constexpr std::u16string_view Data = u"data";
constexpr std::u16string_view Text1Key = u"1";
constexpr std::u16string_view Text2Key = u"2";
constexpr std::u16string_view IntervalKey = u"1";
constexpr std::u16string_view FlagKey = u"2";
constexpr std::u16string_view BreakKey = u"3";
constexpr std::u16string_view IdleKey = u"4";
constexpr std::u16string_view BusyKey = u"5";

std::u16string originOf(Files& files, std::u16string_view path, std::u16string_view section,
                        std::u16string_view key) {
    return Text::arg(u"Hodnota pochází ze souboru %1, sekce [%2], klíč %3.",
                     {files.shownPath(path), section, key});
}

} // namespace

std::u16string ReminderState::UpToNul(std::u16string_view buffer) {
    return std::u16string(buffer.substr(0, buffer.find(u'\0')));
}

std::u16string ReminderState::ReadSetting(const ProfileFile& file, std::u16string_view section,
                                          std::u16string_view key, std::u16string_view defaultValue,
                                          int size) {
    return UpToNul(file.read(section, key, defaultValue, size));
}

std::u16string ReminderState::LoadSettings(Files& files, const NumberFormat& format) {
    // The four reads see the file as it is now: read it once, look up four times.
    std::u16string unreadable;
    const ProfileFile file(files.read(IniPath, &unreadable));
    MessageText1 = ReadSetting(file, Texts, Text1Key, u"...", TextBufferSize);
    MessageText2 = ReadSetting(file, Texts, Text2Key, u"...", TextBufferSize);

    HideDesktopText = ReadSetting(file, Data, FlagKey, u"0", FlagBufferSize);
    const double flag =
        Conversions::toDouble(HideDesktopText, format, originOf(files, IniPath, Data, FlagKey));
    if (flag == 0)
        HideDesktop = False;
    if (flag == 1)
        HideDesktop = True;

    // The raw buffer: the stored value padded with NULs to the buffer's size.
    const std::u16string interval =
        ReadSetting(file, Data, IntervalKey, u"3600", IntervalBufferSize);
    IntervalText = interval + std::u16string(IntervalBufferSize - interval.size(), u'\0');
    IntervalMinutes =
        Conversions::toSingle(interval, format, originOf(files, IniPath, Data, IntervalKey));

    // What counts as a break, and whether a warning waits for a presentation: read as the
    // interval and the flag are, and never written.
    BreakMinutes =
        Conversions::toSingle(ReadSetting(file, Data, BreakKey, u"5", IntervalBufferSize), format,
                              originOf(files, IniPath, Data, BreakKey));
    IdleIsAway = Conversions::toDouble(ReadSetting(file, Data, IdleKey, u"0", FlagBufferSize),
                                       format, originOf(files, IniPath, Data, IdleKey)) == 1;
    HoldWhenBusy = Conversions::toDouble(ReadSetting(file, Data, BusyKey, u"1", FlagBufferSize),
                                         format, originOf(files, IniPath, Data, BusyKey)) != 0;
    return unreadable;
}

std::u16string ReminderState::SaveSettings(Files& files, int sliderValue) const {
    return files.replace(IniPath, [&](std::string stored) {
        ProfileFile file(std::move(stored));
        file.setValues(
            {{std::u16string(Texts), std::u16string(Text1Key), MessageText1},
             {std::u16string(Texts), std::u16string(Text2Key), MessageText2},
             {std::u16string(Data), std::u16string(IntervalKey), Text::integer(sliderValue)},
             {std::u16string(Data), std::u16string(FlagKey), HideDesktop == True ? u"1" : u"0"}});
        return file.bytes();
    });
}
