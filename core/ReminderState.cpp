#include "core/ReminderState.h"

#include "core/Conversions.h"
#include "core/Files.h"

namespace {

// Where each value lives in data.ini.
const QString Texts = QStringLiteral("texts");
const QString Data = QStringLiteral("data");
const QString Text1Key = QStringLiteral("1");
const QString Text2Key = QStringLiteral("2");
const QString IntervalKey = QStringLiteral("1");
const QString FlagKey = QStringLiteral("2");
const QString BreakKey = QStringLiteral("3");
const QString IdleKey = QStringLiteral("4");

// The program's text as the settings file's code takes it.
std::u16string text(const QString& s) {
    return s.toStdU16String();
}

QString originOf(Files& files, const QString& path, const QString& section, const QString& key) {
    return QStringLiteral("Hodnota pochází ze souboru %1, sekce [%2], klíč %3.")
        .arg(files.shownPath(path), section, key);
}

} // namespace

QString ReminderState::UpToNul(const QString& buffer) {
    const qsizetype nul = buffer.indexOf(QChar(0));
    return nul < 0 ? buffer : buffer.left(nul);
}

QString ReminderState::ReadSetting(const ProfileFile& file, const QString& section,
                                   const QString& key, const QString& defaultValue, int size) {
    return UpToNul(
        QString::fromStdU16String(file.read(text(section), text(key), text(defaultValue), size)));
}

QString ReminderState::LoadSettings(Files& files, const NumberFormat& format) {
    // The four reads see the file as it is now: read it once, look up four times.
    QString unreadable;
    const ProfileFile file(files.read(IniPath, &unreadable));
    MessageText1 = ReadSetting(file, Texts, Text1Key, QStringLiteral("..."), TextBufferSize);
    MessageText2 = ReadSetting(file, Texts, Text2Key, QStringLiteral("..."), TextBufferSize);

    HideDesktopText = ReadSetting(file, Data, FlagKey, QStringLiteral("0"), FlagBufferSize);
    const double flag =
        Conversions::toDouble(HideDesktopText, format, originOf(files, IniPath, Data, FlagKey));
    if (flag == 0)
        HideDesktop = False;
    if (flag == 1)
        HideDesktop = True;

    // The raw buffer: the stored value padded with NULs to the buffer's size.
    const QString interval =
        ReadSetting(file, Data, IntervalKey, QStringLiteral("3600"), IntervalBufferSize);
    IntervalText = interval + QString(IntervalBufferSize - interval.size(), QChar(0));
    IntervalMinutes =
        Conversions::toSingle(interval, format, originOf(files, IniPath, Data, IntervalKey));

    // What counts as a break: read as the interval is, and never written.
    BreakMinutes = Conversions::toSingle(
        ReadSetting(file, Data, BreakKey, QStringLiteral("5"), IntervalBufferSize), format,
        originOf(files, IniPath, Data, BreakKey));
    IdleIsAway =
        Conversions::toDouble(ReadSetting(file, Data, IdleKey, QStringLiteral("0"), FlagBufferSize),
                              format, originOf(files, IniPath, Data, IdleKey)) == 1;
    return unreadable;
}

QString ReminderState::SaveSettings(Files& files, int sliderValue) const {
    return files.replace(IniPath, [&](const std::string& stored) {
        ProfileFile file(stored);
        file.setValues({{text(Texts), text(Text1Key), text(MessageText1)},
                        {text(Texts), text(Text2Key), text(MessageText2)},
                        {text(Data), text(IntervalKey), text(QString::number(sliderValue))},
                        {text(Data), text(FlagKey), HideDesktop == True ? u"1" : u"0"}});
        return file.bytes();
    });
}
