#include "backup/NameKeys.h"

namespace brx {

bool isNameKeyCharacter(QChar ch) {
    const char16_t c = ch.unicode();
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    return QStringLiteral("\b\r\n @!#$&*-:\\/_~").contains(ch);
}

bool acceptsNameKeyText(const QString& text) {
    if (text.isEmpty() || text == QStringLiteral("\t")) return true;
    for (const QChar ch : text)
        if (!isNameKeyCharacter(ch)) return false;
    return true;
}

} // namespace brx
