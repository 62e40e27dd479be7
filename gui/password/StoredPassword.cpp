#include "gui/password/StoredPassword.h"

#include "password/TextCipher.h"
#include "settings/SettingsKeys.h"

#include <QStringList>

namespace brx {

namespace {

// "FA" and at least one enciphered character.
constexpr int kShortestStoredValue = 4;

// The characters that leave the scrambling changed, each named once.
QStringList unstorableCharacters(const QString& password) {
    QStringList found;
    for (const QChar ch : password) {
        const bool fits = ch.unicode() >= 1 && ch.unicode() <= 255;
        if (!fits && !found.contains(QString(ch))) found.append(QString(ch));
    }
    return found;
}

} // namespace

QString readStoredPassword(const PrivateProfile& file) {
    const QString value = settings::read(file, settings::kStoredPassword);
    if (value.size() < kShortestStoredValue) return {};
    return CryptPassword(value, {}, false);
}

void writeStoredPassword(PrivateProfile& file, const QString& password) {
    const QString value = password.isEmpty() ? QString() : CryptPassword(password, {}, true);
    settings::write(file, settings::kStoredPassword, value);
}

QString storedPasswordRefusal(const QString& password) {
    const QStringList characters = unstorableCharacters(password);
    if (!characters.isEmpty())
        return QStringLiteral("Ce mot de passe ne peut pas être conservé tel quel : %1 ne fait pas "
                              "partie des caractères d'Europe occidentale (Latin-1) que le mot de "
                              "passe permanent peut contenir. Choisissez un mot de passe sans ce "
                              "caractère.")
            .arg(QStringLiteral("« ") + characters.join(QStringLiteral(" », « ")) +
                 QStringLiteral(" »"));
    // Code 255 after a chain value of 255 comes back as code 0.
    if (CryptPassword(CryptPassword(password, {}, true), {}, false) != password)
        return QStringLiteral("Ce mot de passe ne peut pas être conservé tel quel : un de ses "
                              "caractères ne se relirait pas à l'identique. Choisissez un autre "
                              "mot de passe.");
    return {};
}

} // namespace brx
