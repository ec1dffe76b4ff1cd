#include "core/ReminderState.h"

#include "core/Conversions.h"

namespace {

const QString Texts = QStringLiteral("texts");
const QString Data = QStringLiteral("data");

QString originOf(const QString& path, const QString& section, const QString& key) {
    return QStringLiteral("Hodnota pochází ze souboru %1, sekce [%2], klíč %3.")
        .arg(ProfileFile::shownPath(path), section, key);
}

// The buffer's text as a label would show it: up to the first NUL.
QString upToNul(const QString& buffer) {
    const qsizetype nul = buffer.indexOf(QChar(0));
    return nul < 0 ? buffer : buffer.left(nul);
}

} // namespace

QString ReminderState::ReadSetting(const ProfileFile& file, const QString& section,
                                   const QString& key, const QString& defaultValue, int size) {
    return upToNul(file.read(section, key, defaultValue, size));
}

void ReminderState::LoadSettings(const QLocale& locale) {
    // The four reads see the file as it is now: read it once, look up four times.
    const ProfileFile file = ProfileFile::load(IniPath);
    const QString one = QStringLiteral("1");
    const QString two = QStringLiteral("2");
    MessageText1 = ReadSetting(file, Texts, one, QStringLiteral("..."), TextBufferSize);
    MessageText2 = ReadSetting(file, Texts, two, QStringLiteral("..."), TextBufferSize);

    HideDesktopText = ReadSetting(file, Data, two, QStringLiteral("0"), FlagBufferSize);
    const double flag = Conversions::toDouble(HideDesktopText, locale,
                                              originOf(IniPath, Data, QStringLiteral("2")));
    if (flag == 0)
        HideDesktop = False;
    if (flag == 1)
        HideDesktop = True;

    // The raw buffer: the stored value padded with NULs to the buffer's size.
    const QString interval =
        ReadSetting(file, Data, one, QStringLiteral("3600"), IntervalBufferSize);
    IntervalText = interval + QString(IntervalBufferSize - interval.size(), QChar(0));
    IntervalMinutes = Conversions::toSingle(interval, locale, originOf(IniPath, Data, one));
}

ProfileFile::WriteResult ReminderState::SaveSettings(int sliderValue) const {
    return ProfileFile::writeFile(
        IniPath, {{Texts, QStringLiteral("1"), MessageText1},
                  {Texts, QStringLiteral("2"), MessageText2},
                  {Data, QStringLiteral("1"), QString::number(sliderValue)},
                  {Data, QStringLiteral("2"),
                   HideDesktop == True ? QStringLiteral("1") : QStringLiteral("0")}});
}
