#include "windows/ErrorText.h"

#include "core/Text.h"
#include "windows/WinText.h"

#include <windows.h>

namespace ErrorText {

std::u16string czech(unsigned long error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return u"na disku není dost místa";
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return u"chybí oprávnění";
    case ERROR_WRITE_PROTECT:
        return u"disk je jen pro čtení";
    case ERROR_FILENAME_EXCED_RANGE:
        return u"cesta je příliš dlouhá";
    case ERROR_FILE_NOT_FOUND:
        return u"soubor nebo složka neexistuje";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return u"část cesty není složka";
    case ERROR_INVALID_NAME:
        return u"název souboru není platný";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return u"soubor právě používá jiný program";
    case ERROR_CANT_RESOLVE_FILENAME:
        return u"příliš mnoho odkazů za sebou";
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE:
        return u"chyba čtení nebo zápisu na disk";
    case ERROR_NOT_READY:
        return u"zařízení není připravené";
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
        return u"síťové spojení selhalo";
    case ERROR_TOO_MANY_OPEN_FILES:
        return u"otevřeno příliš mnoho souborů";
    case ERROR_FILE_TOO_LARGE:
        return u"soubor je příliš velký";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return u"nedostatek paměti";
    default:
        return Text::arg(u"chyba systému č. %1", {Text::integer(error)});
    }
}

std::u16string logged(std::u16string_view what, unsigned long error) {
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    const std::wstring line = L"Vestrel: " + wide(what) + L": " + (message ? message : L"?");
    OutputDebugStringW(line.c_str());
    LocalFree(message);
    return czech(error);
}

} // namespace ErrorText
