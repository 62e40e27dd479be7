#pragma once
// The backup's password step, taken just before the add when the backup
// window's password option is checked: the stored password without a
// question, unless a Ctrl key is held; otherwise the user is asked.

#include <QString>

namespace brx {

class IKeyboard;
class PrivateProfile;
class TZipEngine;

// The line for the backup log when the user typed a password; empty when
// nothing is to be logged. Works on the engine's AddOptions and Password and
// asks through the engine's user host.
QString AskPassword(TZipEngine& engine, const PrivateProfile& settings, const IKeyboard& keyboard);

inline const QString kUserPasswordLogLine =
    QStringLiteral(" Saisie d'un mot de passe par utilisateur");

} // namespace brx
