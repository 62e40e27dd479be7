#pragma once
// Errors that the support functions raise, each carrying the text shown to the
// user by the general error display.

#include <QString>
#include <stdexcept>

namespace brx {

class EMessageError : public std::runtime_error {
public:
    explicit EMessageError(const QString& text)
        : std::runtime_error(text.toStdString())
        , m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

// A folder path that cannot be created at all (an empty path).
class EFolderCreation : public EMessageError {
public:
    using EMessageError::EMessageError;
};

// A medium that cannot be ejected.
class EDiskEject : public EMessageError {
public:
    using EMessageError::EMessageError;
};

} // namespace brx
