#pragma once
// The class-root key store: keys named by paths of "\"-separated names, each
// with an optional default string value. Names are compared without regard to
// letter case and keep the spelling they were first created with. Every call
// is one complete access (the store keeps nothing open between calls). A call
// that cannot be carried out raises EClassRootStore.

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace brx {

class EClassRootStore : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IClassRootStore {
public:
    virtual ~IClassRootStore() = default;

    // Creates the key and every missing key above it.
    virtual void createKey(const QString& path) = 0;
    virtual bool keyExists(const QString& path) const = 0;
    // The default value of the key, created when missing; empty when unset.
    virtual QString readDefault(const QString& path) = 0;
    // Sets the default value, creating missing keys.
    virtual void writeDefault(const QString& path, const QString& value) = 0;
    // Removes the key with all its subkeys; false when it did not exist.
    virtual bool deleteKey(const QString& path) = 0;
    // The names of the key's direct subkeys, as spelled when created.
    virtual QStringList subKeys(const QString& path) const = 0;
    // The default value without creating anything; empty when unset or missing.
    virtual QString peekDefault(const QString& path) const = 0;
};

} // namespace brx
