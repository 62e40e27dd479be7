#include "password/TextCipher.h"

#include <optional>

namespace brx {

namespace {

const QString kProgramTextKey = QStringLiteral("Rune-Kale");
const QString kPasswordKey = QStringLiteral("QMZe7");
constexpr int kChainSeed = 250;

// Walks the key cyclically, one character per plain character.
class KeyCycle {
public:
    explicit KeyCycle(const QString& key) : m_key(key.toLatin1()) {}
    int next() {
        const int code = static_cast<unsigned char>(m_key.at(m_index));
        m_index = (m_index + 1) % m_key.size();
        return code;
    }

private:
    QByteArray m_key;
    int m_index = 0;
};

QString hexPair(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// One or two hex digits of either case; anything else is refused.
std::optional<int> readHex(const QString& digits) {
    if (digits.isEmpty()) return std::nullopt;
    int value = 0;
    for (const QChar ch : digits) {
        const int digit = QStringLiteral("0123456789abcdef").indexOf(ch.toLower());
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

QString encipher(const QString& plain, const QString& key) {
    KeyCycle keys(key);
    int chain = kChainSeed;
    QString out = hexPair(chain);
    for (const char c : plain.toLatin1()) {
        chain = ((chain + static_cast<unsigned char>(c)) % 255) ^ keys.next();
        out += hexPair(chain);
    }
    return out;
}

// Each pair is XORed with the key and then unchained against the previous
// pair (not against the XORed value). A lone digit at the end is read only
// when it is the third character of the text; the loop's first pass always
// runs, later passes only while a whole pair may follow.
QString decipher(const QString& text, const QString& key) {
    if (text.size() < 3) return {};
    const auto seed = readHex(text.left(2));
    if (!seed) return {};
    KeyCycle keys(key);
    int previous = *seed;
    QByteArray plain;
    int pos = 2;
    do {
        const auto b = readHex(text.mid(pos, 2));
        if (!b) return {};
        const int c = *b ^ keys.next();
        plain.append(static_cast<char>(previous < c ? c - previous : c - previous + 255));
        previous = *b;
        pos += 2;
    } while (pos + 1 < text.size());
    return QString::fromLatin1(plain);
}

QString crypt(const QString& text, const QString& key, const QString& builtInKey, bool forward) {
    const QString usedKey = key.isEmpty() ? builtInKey : key;
    return forward ? encipher(text, usedKey) : decipher(text, usedKey);
}

} // namespace

QString CryptText(const QString& text, const QString& key, bool encipher) {
    return crypt(text, key, kProgramTextKey, encipher);
}

QString CryptPassword(const QString& text, const QString& key, bool encipher) {
    return crypt(text, key, kPasswordKey, encipher);
}

bool fitsTextCipher(const QString& text) {
    for (const QChar ch : text)
        if (ch.unicode() > 255) return false;
    return true;
}

} // namespace brx
