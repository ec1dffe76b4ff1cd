#include "core/FileErrors.h"

#include "core/Text.h"

namespace FileErrors {

std::u16string tooLarge(std::u16string_view shown, std::int64_t size) {
    return Text::arg(u"Soubor %1 má %2 MB, to není soubor nastavení: program jej nečte ani "
                     u"nepřepisuje.",
                     {shown, Text::integer(size >> 20)});
}

std::u16string cannotRead(std::u16string_view shown, std::u16string_view reason) {
    return Text::arg(u"Soubor %1 nelze přečíst (%2).", {shown, reason});
}

std::u16string cannotOpenForWriting(std::u16string_view shown, std::u16string_view reason) {
    return Text::arg(u"Soubor %1 nelze otevřít pro zápis (%2).", {shown, reason});
}

std::u16string writeFailed(std::u16string_view shown, std::u16string_view reason) {
    return Text::arg(u"Zápis do souboru %1 se nezdařil (%2).", {shown, reason});
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
