#include "linux/CzechMenus.h"

#include <QCoreApplication>

#include <cstring>

namespace {

struct Text {
    const char* context;
    const char* source;
    const char16_t* czech;
};

constexpr Text Texts[] = {
    {"QLineEdit", "&Undo", u"&Zpět"},
    {"QLineEdit", "&Redo", u"&Znovu"},
    {"QLineEdit", "Cu&t", u"Vyj&mout"},
    {"QLineEdit", "&Copy", u"&Kopírovat"},
    {"QLineEdit", "&Paste", u"V&ložit"},
    {"QLineEdit", "Delete", u"Odstranit"},
    {"QLineEdit", "Select All", u"Vybrat vše"},
    {"QScrollBar", "Scroll here", u"Posunout sem"},
    {"QScrollBar", "Left edge", u"Levý okraj"},
    {"QScrollBar", "Right edge", u"Pravý okraj"},
    {"QScrollBar", "Page left", u"O stránku vlevo"},
    {"QScrollBar", "Page right", u"O stránku vpravo"},
    {"QScrollBar", "Scroll left", u"Posunout vlevo"},
    {"QScrollBar", "Scroll right", u"Posunout vpravo"},
};

} // namespace

void CzechMenus::install() {
    static CzechMenus* installed = nullptr;
    if (!installed)
        QCoreApplication::installTranslator(installed = new CzechMenus);
}

QString CzechMenus::translate(const char* context, const char* source, const char*, int) const {
    for (const Text& text : Texts)
        if (context && source && std::strcmp(context, text.context) == 0 &&
            std::strcmp(source, text.source) == 0)
            return QString::fromUtf16(text.czech);
    return {};
}
