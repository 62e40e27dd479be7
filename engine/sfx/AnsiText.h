#pragma once
// Header strings are read by a Windows program in the ANSI code page 1252.

#include <QByteArray>
#include <QString>

namespace brx {

// Characters outside code page 1252 become '?'.
QByteArray toAnsi1252(const QString& text);
QString fromAnsi1252(const QByteArray& bytes);

} // namespace brx
