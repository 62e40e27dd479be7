#pragma once
// The permanent password as the settings file keeps it: key "dateinstall" of
// section "div", scrambled with CryptPassword (not a cryptographic
// protection). An empty or absent value means no stored password.

#include <QString>

namespace brx {

class PrivateProfile;

// The stored password in plain text; empty when there is none. A value
// shorter than 4 characters stands for no password.
QString readStoredPassword(const PrivateProfile& file);

// Stores password, or removes the stored one when password is empty.
// Raises SettingsWriteError when the file cannot be written.
void writeStoredPassword(PrivateProfile& file, const QString& password);

// Why password cannot be stored as typed (a French sentence for the user),
// empty when it can. The scrambling works on 8-bit codes: a character outside
// Latin-1 would come back as another one, and the archives would then be
// protected with a password other than the one the user typed.
QString storedPasswordRefusal(const QString& password);

} // namespace brx
