#pragma once
// A locale for tests: language and formats set by the test.

#include "platform/LocaleInfo.h"

namespace brx {

class FakeLocaleInfo final : public ILocaleInfo {
public:
    bool french = true;
    QChar separator = QLatin1Char(',');
    QString dateFormat = QStringLiteral("dd/MM/yyyy");
    QString timeFormat = QStringLiteral("HH:mm:ss");

    bool isFrench() const override { return french; }
    QChar decimalSeparator() const override { return separator; }
    QString shortDateFormat() const override { return dateFormat; }
    QString longTimeFormat() const override { return timeFormat; }
};

} // namespace brx
