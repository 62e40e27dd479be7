#include "ScriptedSfxUi.h"
#include "SfxRun.h"
#include "SfxTestZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sfxcore;

namespace {

std::string header(uint8_t bits, const std::string& caption, const std::string& dir,
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

const std::vector<testzip::Item> kItems = {
    {"readme.txt", "hello from the archive\n"},
    {"bin/", ""},
    {"bin/tool.dat", std::string(5000, 'x') + "end", true},
    {"../escape.txt", "must not leave the folder"},
};

class SfxExtract : public ::testing::Test {
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
    RunResult run(const std::string& exe, ScriptedSfxUi& ui) {
        const RunEnvironment env{exe, exe.substr(exe.find_last_of('/') + 1), root() + "/tmp/"};
        return runSelfExtractor(env, ui);
    }
};

} // namespace

TEST_F(SfxExtract, ExtractsEveryEntryIntoTheFolderAndNothingOutside) {
    const std::string exe = writeExe(header(0x02, "Install", out(), "", ""), kItems);
    ScriptedSfxUi ui;
    EXPECT_EQ(run(exe, ui), RunResult::Failed); // the escaping name counts as a failure
    EXPECT_EQ(readFile(out() + "/readme.txt"), "hello from the archive\n");
    EXPECT_EQ(readFile(out() + "/bin/tool.dat"), std::string(5000, 'x') + "end");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(root() + "/escape.txt")));
    EXPECT_EQ(ui.folderQuestions, 1);
    EXPECT_TRUE(ui.folderWasEditable);
    EXPECT_EQ(ui.listedNames.size(), kItems.size());
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("1 fichier(s) en erreur"), std::string::npos);
}

TEST_F(SfxExtract, UserMayChangeTheFolderOnlyWhenAsked) {
    const std::vector<testzip::Item> items(kItems.begin(), kItems.begin() + 1);
    ScriptedSfxUi ui;
    ui.folderOverride = root() + "/chosen";
    EXPECT_EQ(run(writeExe(header(0x02, "", out(), "", ""), items), ui), RunResult::Extracted);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(root() + "/chosen/readme.txt")));

    ScriptedSfxUi locked;
    locked.folderOverride = root() + "/ignored";
    EXPECT_EQ(run(writeExe(header(0x00, "", out(), "", ""), items, "locked.exe"), locked),
              RunResult::Extracted);
    EXPECT_FALSE(locked.folderWasEditable);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(out() + "/readme.txt")));
    EXPECT_FALSE(QDir(QString::fromStdString(root() + "/ignored")).exists());
}

TEST_F(SfxExtract, CancelledMessageExtractsNothing) {
    ScriptedSfxUi ui;
    ui.messageAnswer = false;
    const std::string exe = writeExe(header(0, "", out(), "", "\1Installer ?"), kItems);
    EXPECT_EQ(run(exe, ui), RunResult::Cancelled);
    EXPECT_EQ(ui.lastButtons, MessageButtons::OkCancel);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Installer ?");
    EXPECT_FALSE(QDir(QString::fromStdString(out())).exists());
}

TEST_F(SfxExtract, AutomaticRunAsksNothingAndRunsTheCommand) {
    const std::vector<testzip::Item> items(kItems.begin(), kItems.begin() + 3);
    const std::string exe =
        writeExe(header(0x40 | 0x01 | 0x80, "", "></auto", "><bin/tool.dat -x", "\2Sure?"), items,
                 "!setup.exe");
    ScriptedSfxUi ui;
    EXPECT_EQ(run(exe, ui), RunResult::Extracted);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.folderQuestions, 0);
    EXPECT_TRUE(ui.infos.empty()); // no success message asked for
    EXPECT_TRUE(QFile::exists(QString::fromStdString(root() + "/tmp/auto/bin/tool.dat")));
    ASSERT_EQ(ui.commandsRun.size(), 1u);
    EXPECT_EQ(ui.commandsRun[0], root() + "/tmp/auto/bin/tool.dat -x");
}

TEST_F(SfxExtract, CommandLineMayBeDeclinedWhenAsked) {
    const std::vector<testzip::Item> items(kItems.begin(), kItems.begin() + 1);
    ScriptedSfxUi ui;
    ui.commandConfirmNotChanged = false; // the user declines
    EXPECT_EQ(run(writeExe(header(0x01, "", out(), "><readme.txt", ""), items), ui),
              RunResult::Extracted);
    EXPECT_TRUE(ui.commandsRun.empty());
    ASSERT_EQ(ui.infos.size(), 1u);
}

TEST_F(SfxExtract, OverwriteModesDecideAboutExistingFiles) {
    const std::vector<testzip::Item> items(kItems.begin(), kItems.begin() + 1);
    QDir().mkpath(QString::fromStdString(out()));
    const std::string existing = out() + "/readme.txt";

    writeFile("out/readme.txt", "old");
    ScriptedSfxUi never;
    run(writeExe(header(0x10, "", out(), "", ""), items, "never.exe"), never);
    EXPECT_EQ(readFile(existing), "old");

    ScriptedSfxUi confirm;
    confirm.overwriteAnswers = {OverwriteAnswer::No};
    run(writeExe(header(0x00, "", out(), "", ""), items, "confirm.exe"), confirm);
    EXPECT_EQ(confirm.overwriteQuestions.size(), 1u);
    EXPECT_EQ(readFile(existing), "old");

    ScriptedSfxUi hidden; // confirming mode with its box hidden replaces silently
    run(writeExe(header(0x04, "", out(), "", ""), items, "hidden.exe"), hidden);
    EXPECT_TRUE(hidden.overwriteQuestions.empty());
    EXPECT_EQ(readFile(existing), "hello from the archive\n");

    writeFile("out/readme.txt", "old");
    ScriptedSfxUi always;
    run(writeExe(header(0x08, "", out(), "", ""), items, "always.exe"), always);
    EXPECT_TRUE(always.overwriteQuestions.empty());
    EXPECT_EQ(readFile(existing), "hello from the archive\n");
}

TEST_F(SfxExtract, EncryptedEntriesAskForThePasswordAgainWhenWrong) {
    const std::vector<testzip::Item> items = {{"secret.txt", "top secret", true, "pw1"},
                                              {"plain.txt", "open"}};
    ScriptedSfxUi ui;
    ui.passwords = {std::string("wrong"), std::string("pw1")};
    EXPECT_EQ(run(writeExe(header(0, "", out(), "", ""), items), ui), RunResult::Extracted);
    EXPECT_EQ(readFile(out() + "/secret.txt"), "top secret");
    EXPECT_EQ(ui.passwordQuestions.size(), 2u);

    ScriptedSfxUi gaveUp;
    EXPECT_EQ(run(writeExe(header(0x08, "", out() + "2", "", ""), items, "b.exe"), gaveUp),
              RunResult::Failed);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out() + "2/secret.txt")));
    EXPECT_EQ(readFile(out() + "2/plain.txt"), "open");
}

TEST_F(SfxExtract, SizeCheckRefusesAnArchiveWhoseDataIsMissing) {
    const std::vector<testzip::Item> items(kItems.begin(), kItems.begin() + 3);
    const std::string stub(300, 's');
    // The last entry claims more data than the file holds before its directory.
    const auto damaged = [&](const std::string& head) {
        std::string zip = testzip::build(items, "", uint32_t(stub.size() + head.size()));
        const size_t last = zip.rfind("PK\1\2");
        zip[last + 21] = char(zip[last + 21] + 0x10);
        return stub + head + zip;
    };
    ScriptedSfxUi checked;
    EXPECT_EQ(run(writeFile("cut.exe", damaged(header(0, "", out(), "", ""))), checked),
              RunResult::Failed);
    ASSERT_EQ(checked.errors.size(), 1u);
    EXPECT_NE(checked.errors[0].find("incompl"), std::string::npos);
    EXPECT_FALSE(QDir(QString::fromStdString(out())).exists());

    // Without the check the intact entries come out and the damaged one fails.
    ScriptedSfxUi unchecked;
    EXPECT_EQ(run(writeFile("cut2.exe", damaged(header(0x20, "", out(), "", ""))), unchecked),
              RunResult::Failed);
    EXPECT_EQ(readFile(out() + "/readme.txt"), "hello from the archive\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out() + "/bin/tool.dat")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out() + "/bin/tool.dat.sfx-part")));
}

TEST_F(SfxExtract, ArchiveCopiedWithoutShiftIsStillFound) {
    const std::string head = header(0, "", out(), "", "");
    const std::string exe = std::string(300, 's') + head + testzip::build(kItems, "", 0);
    ScriptedSfxUi ui;
    run(writeFile("unshifted.exe", exe), ui);
    EXPECT_EQ(readFile(out() + "/bin/tool.dat"), std::string(5000, 'x') + "end");
}

TEST_F(SfxExtract, FileWithoutArchiveReportsAnError) {
    ScriptedSfxUi ui;
    EXPECT_EQ(run(writeFile("empty.exe", std::string(100, 'z')), ui), RunResult::Failed);
    EXPECT_EQ(ui.errors.size(), 1u);
}

TEST_F(SfxExtract, HeaderIsFoundBehindTheRealStub) {
    QFile stubFile(qEnvironmentVariable("BRX_BIN_DIR") + QStringLiteral("/ZIPSFX.BIN"));
    if (!stubFile.open(QIODevice::ReadOnly)) GTEST_SKIP() << "ZIPSFX.BIN was not built";
    const std::string stub = stubFile.readAll().toStdString();
    const std::string head = header(0x40 | 0x08 | 0x80, "Real", out(), "", "");
    const std::vector<testzip::Item> items(kItems.begin(), kItems.begin() + 3);
    const std::string exe = writeFile(
        "!real.exe", stub + head + testzip::build(items, "", uint32_t(stub.size() + head.size())));
    SfxArchive archive(exe);
    ASSERT_EQ(archive.open(), SfxArchive::Status::Ok);
    EXPECT_EQ(archive.archiveStart(), stub.size() + head.size());
    ASSERT_TRUE(archive.settings());
    EXPECT_EQ(archive.settings()->caption, "Real");
    ScriptedSfxUi ui;
    EXPECT_EQ(run(exe, ui), RunResult::Extracted);
    EXPECT_EQ(readFile(out() + "/readme.txt"), "hello from the archive\n");
}
