#include "password/ProgramTexts.h"

#include "password/TextCipher.h"

namespace brx {

namespace {
// Enciphered with the program-text key: 52 digits, 25 characters.
const QString kBackupWindowLongHint =
    QStringLiteral("FA1C0813EC7FAD6E8C95A8BD5EDA66848982C77F98D654B04A19");
} // namespace

QString backupWindowLongHint() {
    return CryptText(kBackupWindowLongHint, QString(), false);
}

} // namespace brx
