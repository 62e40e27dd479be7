#pragma once
// An engine on a scripted host and fake volumes, with its messages recorded,
// and a temporary folder for the archives a test writes.

#include "engine/ZipEngine.h"
#include "tests/fakes/FakeVolumes.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace brx::test {

struct EngineMessage {
    int code;
    QString text;
};

class EngineFixture : public ::testing::Test {
protected:
    EngineFixture() : engine(&host, &volumes) {
        engine.OnMessage = [this](int code, const QString& text) { messages.append({code, text}); };
        engine.OnDirUpdate = [this] { ++dirUpdates; };
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    bool sawMessage(const QString& text) const {
        for (const EngineMessage& m : messages)
            if (m.text.contains(text)) return true;
        return false;
    }

    QTemporaryDir dir;
    ScriptedUserHost host;
    FakeVolumes volumes;
    TZipEngine engine;
    QList<EngineMessage> messages;
    int dirUpdates = 0;
};

} // namespace brx::test
