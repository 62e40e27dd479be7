#pragma once
// A reversible scrambling of short texts into hexadecimal digits, used for the
// stored password in the settings file and for texts the program holds hidden.
// It is not a cryptographic protection.
//
// Enciphered form: "FA" (the chain seed 250) followed by two upper-case hex
// digits per plain character. Settings files already hold this form, so every
// digit must stay as it is.
//
// Characters are handled as 8-bit codes: a text must consist of Latin-1
// characters (fitsTextCipher); others would be stored as '?'.

#include <QString>

namespace brx {

// encipher true: plain text -> hex digits; false: hex digits -> plain text.
// An empty key means the built-in key of the variant.
// Deciphering a text shorter than 3 characters or holding a non-hex pair
// gives an empty string.
QString CryptText(const QString& text, const QString& key, bool encipher);
QString CryptPassword(const QString& text, const QString& key, bool encipher);

// True when every character of text has a code from 0 to 255.
bool fitsTextCipher(const QString& text);

} // namespace brx
