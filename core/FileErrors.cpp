#include "core/FileErrors.h"

#include "core/Text.h"

namespace FileErrors {

std::u16string reason(const FileError& error) {
    switch (error.reason) {
    case FileReason::None:
        break;
    case FileReason::NoSpace:
        return u"na disku není dost místa";
    case FileReason::NoPermission:
        return u"chybí oprávnění";
    case FileReason::ReadOnlyDisk:
        return u"disk je jen pro čtení";
    case FileReason::PathTooLong:
        return u"cesta je příliš dlouhá";
    case FileReason::NotFound:
        return u"soubor nebo složka neexistuje";
    case FileReason::NotAFolder:
        return u"část cesty není složka";
    case FileReason::IsAFolder:
        return u"je to složka";
    case FileReason::InvalidName:
        return u"název souboru není platný";
    case FileReason::InUse:
        return u"soubor právě používá jiný program";
    case FileReason::TooManyLinks:
        return u"příliš mnoho odkazů za sebou";
    case FileReason::DiskError:
        return u"chyba čtení nebo zápisu na disk";
    case FileReason::NotReady:
        return u"zařízení není připravené";
    case FileReason::Network:
        return u"síťové spojení selhalo";
    case FileReason::TooManyOpen:
        return u"otevřeno příliš mnoho souborů";
    case FileReason::TooLarge:
        return u"soubor je příliš velký";
    case FileReason::NoMemory:
        return u"nedostatek paměti";
    case FileReason::Other:
        break;
    }
    return Text::arg(u"chyba systému č. %1", {Text::integer(error.code)});
}

std::u16string tooLarge(std::u16string_view shown, std::int64_t size) {
    return Text::arg(u"Soubor %1 má %2 MB, to není soubor nastavení: program jej nečte ani "
                     u"nepřepisuje.",
                     {shown, Text::integer(size >> 20)});
}

std::u16string cannotRead(std::u16string_view shown, const FileError& error) {
    return Text::arg(u"Soubor %1 nelze přečíst (%2).", {shown, reason(error)});
}

std::u16string cannotOpenForWriting(std::u16string_view shown, const FileError& error) {
    return Text::arg(u"Soubor %1 nelze otevřít pro zápis (%2).", {shown, reason(error)});
}

std::u16string writeFailed(std::u16string_view shown, const FileError& error) {
    return Text::arg(u"Zápis do souboru %1 se nezdařil (%2).", {shown, reason(error)});
}

std::u16string notOrdinary(std::u16string_view shown) {
    return Text::arg(u"%1 není obyčejný soubor.", {shown});
}

std::u16string isFolder(std::u16string_view shown) {
    return Text::arg(u"%1 je složka, ne soubor.", {shown});
}

std::u16string readOnly(std::u16string_view shown) {
    return Text::arg(u"Soubor %1 je jen pro čtení.", {shown});
}

} // namespace FileErrors
