#pragma once
// The user's language and formats (the system locale).

#include <QChar>
#include <QString>

namespace brx {

class ILocaleInfo {
public:
    virtual ~ILocaleInfo() = default;
    virtual bool isFrench() const = 0;
    virtual QChar decimalSeparator() const = 0;
    virtual QString shortDateFormat() const = 0;
    virtual QString longTimeFormat() const = 0;
};

class SystemLocaleInfo final : public ILocaleInfo {
public:
    bool isFrench() const override;
    QChar decimalSeparator() const override;
    QString shortDateFormat() const override;
    QString longTimeFormat() const override;
};

} // namespace brx
