#pragma once
// The engine's exception: a message id, its (formatted) text, and whether the
// text is shown to the user when the exception is reported.

#include "engine/base/ZipMsg.h"

#include <QByteArray>
#include <QString>
#include <exception>

namespace brx {

class EZipEngine : public std::exception {
public:
    // Text = the id's text; not formatted.
    EZipEngine(int id, bool displayMessage);
    // Text = the id's text formatted with the number; shown.
    EZipEngine(int id, int value);
    // Text = the id's text formatted with the string; shown.
    EZipEngine(int id, const QString& value);
    // Text = the id's text formatted with several values; shown.
    EZipEngine(int id, const QVariantList& values);
    // Text = the id's text formatted with several values; shown when asked.
    EZipEngine(int id, const QVariantList& values, bool displayMessage);

    // An exception with a text of its own under an existing id (the id's text
    // followed by detail), for failures the message table does not name.
    static EZipEngine withDetail(int id, const QString& detail);

    const QString& Message() const { return m_message; }
    bool DisplayMessage() const { return m_displayMessage; }
    int ResourceId() const { return m_resourceId; }

    const char* what() const noexcept override { return m_what.constData(); }

private:
    void setMessage(const QString& message);

    QString m_message;
    QByteArray m_what;
    bool m_displayMessage = true;
    int m_resourceId = 0;
};

} // namespace brx
