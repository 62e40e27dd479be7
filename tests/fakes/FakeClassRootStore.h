#pragma once
// An in-memory class-root store with the real store's key rules, a journal of
// the calls that change it, and a switch that makes a chosen call fail the
// way a store without write rights would.

#include "platform/ClassRootKeys.h"
#include "platform/ClassRootStore.h"

namespace brx {

class FakeClassRootStore final : public IClassRootStore {
public:
    ClassRootKeys keys;
    QStringList journal; // "create X", "write X=V", "delete X", "read X"
    // The number of changing calls that succeed before every further one
    // raises EClassRootStore; negative means never.
    int failAfter = -1;

    void createKey(const QString& path) override {
        change(QStringLiteral("create ") + path);
        keys.createKey(path);
    }
    bool keyExists(const QString& path) const override { return keys.keyExists(path); }
    QString readDefault(const QString& path) override {
        if (!keys.keyExists(path)) change(QStringLiteral("create ") + path);
        journal << QStringLiteral("read ") + path;
        keys.createKey(path);
        return keys.value(path).value_or(QString());
    }
    void writeDefault(const QString& path, const QString& value) override {
        change(QStringLiteral("write ") + path + QLatin1Char('=') + value);
        keys.setValue(path, value);
    }
    bool deleteKey(const QString& path) override {
        if (!keys.keyExists(path)) return false;
        change(QStringLiteral("delete ") + path);
        return keys.deleteKey(path);
    }
    QStringList subKeys(const QString& path) const override { return keys.subKeys(path); }
    QString peekDefault(const QString& path) const override {
        return keys.value(path).value_or(QString());
    }

private:
    void change(const QString& entry) {
        if (failAfter == 0) throw EClassRootStore("access denied");
        if (failAfter > 0) --failAfter;
        journal << entry;
    }
};

} // namespace brx
