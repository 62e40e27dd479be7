#pragma once
// Self-extractors written to a temporary folder and run through the portable
// core with a scripted user.

#include "ScriptedSfxUi.h"
#include "SfxRun.h"
#include "SfxTestZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An MPV header with the given option bits and strings.
inline std::string header(uint8_t bits, const std::string& caption, const std::string& dir,
                          const std::string& command, const std::string& message) {
    std::string h = "MPV";
    h.push_back(char(bits));
    h += std::string("\0\1\0\0", 4);
    for (const std::string* s : {&caption, &dir, &command, &message}) {
        h.push_back(char(s->size()));
        h += *s;
    }
    while (h.size() % 4) h.push_back('\0');
    h[6] = char(h.size());
    return h;
}

class SfxRunFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }
    std::string out() const { return root() + "/out"; }

    // A self-extractor: 300 stub bytes, the header, the archive shifted past both.
    std::string writeExe(const std::string& head, const std::vector<testzip::Item>& items,
                         const std::string& name = "setup.exe") {
        const std::string stub(300, 's');
        const std::string zip =
            testzip::build(items, "comment", uint32_t(stub.size() + head.size()));
        return writeFile(name, stub + head + zip);
    }
    std::string writeFile(const std::string& name, const std::string& bytes) {
        const std::string path = root() + "/" + name;
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::WriteOnly);
        f.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    std::string readFile(const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<missing>");
    }
    sfxcore::RunResult run(const std::string& exe, ScriptedSfxUi& ui) {
        const sfxcore::RunEnvironment env{exe, exe.substr(exe.find_last_of('/') + 1), root(),
                                          root() + "/tmp/"};
        return sfxcore::runSelfExtractor(env, ui);
    }
};

inline bool fileExists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}
