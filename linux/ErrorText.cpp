#include "linux/ErrorText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ErrorText {

QString czech(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("na disku není dost místa");
    case EACCES:
    case EPERM:
        return QStringLiteral("chybí oprávnění");
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case ENAMETOOLONG:
        return QStringLiteral("cesta je příliš dlouhá");
    case ENOENT:
        return QStringLiteral("soubor nebo složka neexistuje");
    case ENOTDIR:
        return QStringLiteral("část cesty není složka");
    case EISDIR:
        return QStringLiteral("je to složka");
    case ELOOP:
        return QStringLiteral("příliš mnoho odkazů za sebou");
    case EIO:
        return QStringLiteral("chyba čtení nebo zápisu na disk");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("otevřeno příliš mnoho souborů");
    case EFBIG:
        return QStringLiteral("soubor je příliš velký");
    case ENOMEM:
        return QStringLiteral("nedostatek paměti");
    default:
        return QStringLiteral("chyba systému č. %1").arg(error);
    }
}

QString logged(const QString& what, int error) {
    std::fprintf(stderr, "Vestrel: %s: %s\n", qPrintable(what), std::strerror(error));
    return czech(error);
}

} // namespace ErrorText
