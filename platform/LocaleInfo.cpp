#include "platform/LocaleInfo.h"

#include <QLocale>

namespace brx {

bool SystemLocaleInfo::isFrench() const {
    return QLocale::system().language() == QLocale::French;
}

QChar SystemLocaleInfo::decimalSeparator() const {
    const QString sep = QLocale::system().decimalPoint();
    return sep.isEmpty() ? QLatin1Char('.') : sep.at(0);
}

QString SystemLocaleInfo::shortDateFormat() const {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString SystemLocaleInfo::longTimeFormat() const {
    return QLocale::system().timeFormat(QLocale::LongFormat);
}

} // namespace brx
