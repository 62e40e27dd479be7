// Loading the companion libraries, the command records per library version,
// and the callback replies, against fake libraries built by the tests.

#include "EngineFixture.h"
#include "FakeLibrary.h"
#include "ZipBytes.h"

#include <brx/ZipDllAbi.h>

namespace brx::test {
namespace {

const QString kFakeDir = QStringLiteral(FAKE_DLL_DIR);
const QString kNoVersionDir = QStringLiteral(FAKE_NOVERSION_DLL_DIR);

class LibraryInterfaceTest : public EngineFixture {
protected:
    LibraryInterfaceTest() : zipdll(kFakeDir + "/ZIPDLL.DLL"), unzdll(kFakeDir + "/UNZDLL.DLL") {
        engine.setDLLDirectory(kFakeDir + "/");
        archive = writeFile("a.zip", ZipBytes::archive({RawEntry{"x", "1"}}));
        zipdll.reset(160);
        unzdll.reset(160);
    }
    ~LibraryInterfaceTest() override {
        engine.UnloadZipLibrary();
        engine.UnloadUnzLibrary();
    }

    void add(const QStringList& specs) {
        engine.setZipFileName(archive);
        engine.setFSpecArgs(specs);
        engine.Add();
    }

    void extract() {
        engine.setZipFileName(archive);
        engine.Extract();
    }

    FakeLibrary zipdll;
    FakeLibrary unzdll;
    QString archive;
};

TEST_F(LibraryInterfaceTest, CompressionRecordLayoutFollowsTheLibraryVersion) {
    zipdll.reset(150);
    add({"one", "two"});
    EXPECT_EQ(zipdll.check(), BRX_RECORD_CHECK);
    EXPECT_EQ(zipdll.string("spec0"), QStringLiteral("one"));
    EXPECT_EQ(zipdll.string("spec1"), QStringLiteral("two"));
    EXPECT_EQ(engine.SuccessCnt(), 1);
    EXPECT_TRUE(engine.FSpecArgs().isEmpty());

    zipdll.reset(151);
    add({"three"});
    EXPECT_EQ(zipdll.check(), BRX_RECORD_CHECK);
    EXPECT_EQ(zipdll.string("spec0"), QStringLiteral("three"));
    EXPECT_EQ(zipdll.field("excludeCount"), 0); // a 160 field, left 0 for 151
    EXPECT_EQ(zipdll.field("version"), BRX_RECORD_VERSION);
}

TEST_F(LibraryInterfaceTest, OldLayoutsRefuseMorePatternsThanTheyHold) {
    zipdll.reset(150);
    QStringList many;
    for (int i = 0; i < BRX_OLD_RECORD_MAX_SPECS + 1; ++i) many.append(QString::number(i));
    add(many);
    EXPECT_EQ(engine.SuccessCnt(), 0);
    EXPECT_EQ(zipdll.check(), 0); // never called
    EXPECT_EQ(engine.ErrCode(), GE_FatalZip);
    EXPECT_TRUE(engine.Message().contains(QStringLiteral("4097")));
}

TEST_F(LibraryInterfaceTest, CompressionFlagsAndStrings) {
    engine.setAddOptions(AddFreshen | AddUpdate | AddRecurseDirs | AddEncrypt);
    engine.setPassword(QString(100, 'p'));
    engine.setAddStoreSuffixes(assGIF | assZIP | assEXE);
    engine.setFSpecArgsExcl({"*.tmp"});
    engine.setAddCompLevel(4);
    add({"*.txt"});
    EXPECT_EQ(zipdll.field("update"), -1);
    EXPECT_EQ(zipdll.field("freshen"), 0); // update wins
    EXPECT_EQ(zipdll.field("recurse"), -1);
    EXPECT_EQ(zipdll.field("namesOnly"), -1); // AddDirNames not set
    EXPECT_EQ(zipdll.field("encrypt"), -1);
    EXPECT_EQ(zipdll.field("level"), 4);
    EXPECT_EQ(zipdll.field("levelGiven"), -1);
    EXPECT_EQ(zipdll.field("owner"), 0);
    EXPECT_EQ(zipdll.string("password"), QString(80, 'p'));
    EXPECT_EQ(zipdll.field("passwordBufferEnd"), 0);
    EXPECT_EQ(zipdll.string("storeSuffixes"), QStringLiteral(".gif:.zip:.exe"));
    EXPECT_EQ(zipdll.string("exclude0"), QStringLiteral("*.tmp"));
    EXPECT_TRUE(engine.FSpecArgsExcl().isEmpty());
}

TEST_F(LibraryInterfaceTest, DeleteSwitchesTheRecord) {
    engine.setAddOptions(AddMove | AddUpdate | AddEncrypt | AddRecurseDirs);
    engine.setZipFileName(archive);
    engine.setFSpecArgs({"x"});
    engine.Delete();
    EXPECT_EQ(zipdll.field("deleteEntries"), -1);
    for (const char* off :
         {"adding", "namesOnly", "move", "update", "freshen", "encrypt", "recurse"})
        EXPECT_EQ(zipdll.field(off), 0) << off;
}

TEST_F(LibraryInterfaceTest, DecompressionRecordLayoutFollowsTheLibraryVersion) {
    unzdll.reset(151);
    engine.setFSpecArgs({"a", "b"});
    extract();
    EXPECT_EQ(unzdll.check(), BRX_RECORD_CHECK);
    EXPECT_EQ(unzdll.string("spec1"), QStringLiteral("b"));

    unzdll.reset(152);
    engine.setExtrOptions(ExtrFreshen | ExtrUpdate | ExtrOverWrite);
    engine.setFSpecArgs({"c"});
    extract();
    EXPECT_EQ(unzdll.check(), BRX_RECORD_CHECK);
    EXPECT_EQ(unzdll.string("spec0"), QStringLiteral("c"));
    EXPECT_EQ(unzdll.field("passwordReqCount"), 0); // a 160 field
    EXPECT_EQ(unzdll.field("update"), -1);
    EXPECT_EQ(unzdll.field("freshen"), 0);
    EXPECT_EQ(unzdll.field("overwrite"), -1);
    EXPECT_EQ(unzdll.field("always40"), -1);
    EXPECT_EQ(unzdll.string("zipFileName"), archive);
}

TEST_F(LibraryInterfaceTest, UnattendedExtractWithoutPassword) {
    engine.setUnattended(true);
    engine.setPasswordReqCount(3);
    extract();
    EXPECT_EQ(unzdll.field("passwordReqCount"), 0);
    EXPECT_EQ(engine.PasswordReqCount(), 3u);
    EXPECT_TRUE(sawMessage(LoadZipStr(EX_UnAttPassword)));
    EXPECT_TRUE(host.messages.isEmpty());

    // An old library would prompt: it gets a placeholder that cannot match.
    unzdll.reset(155);
    engine.setAddOptions(AddEncrypt);
    extract();
    EXPECT_EQ(unzdll.string("password").size(), 80);
}

TEST_F(LibraryInterfaceTest, MissingLibraryOrEntryPoint) {
    QTemporaryDir empty;
    engine.setDLLDirectory(empty.path());
    engine.setFSpecArgs({"x"});
    engine.setZipFileName(archive);
    engine.Add(); // not beside the tests nor in the search path
    EXPECT_EQ(engine.SuccessCnt(), 0);
    EXPECT_EQ(engine.ErrCode(), LZ_NoZipDll);

    engine.setDLLDirectory(kNoVersionDir);
    engine.setTrace(true);
    messages.clear();
    engine.LoadZipLibrary();
    EXPECT_TRUE(sawMessage(LoadZipStr(LZ_ZipDllLoaded)));
    EXPECT_TRUE(sawMessage(LoadZipStr(LZ_NoZipDllVers)));
    EXPECT_FALSE(sawMessage(LoadZipStr(LZ_NoZipDllExec)));
    EXPECT_EQ(engine.ZipLibraryVersion(), 0);
}

TEST_F(LibraryInterfaceTest, VersionQueryLoadsOnlyForTheCall) {
    zipdll.reset(157);
    EXPECT_EQ(engine.ZipLibraryVersion(), 157);
    unzdll.reset(161);
    engine.LoadUnzLibrary();
    EXPECT_EQ(engine.UnzLibraryVersion(), 161);
}

TEST_F(LibraryInterfaceTest, ProgressAndMessagesFromTheLibrary) {
    QStringList seen;
    engine.OnProgress = [&](ProgressType type, const QString& name, qint64 size) {
        seen.append(QStringLiteral("%1:%2:%3").arg(int(type)).arg(name).arg(size));
    };
    zipdll.queue(BRX_ACTION_TOTAL_FILES, 0, 2);
    zipdll.queue(BRX_ACTION_ITEM_START, 0, 1234, "dir/file.txt \t\r\n");
    zipdll.queue(BRX_ACTION_PROGRESS, 0, 1000);
    zipdll.queue(BRX_ACTION_MESSAGE, 0x1234, 0, "disk full");
    zipdll.queue(BRX_ACTION_END, 0, 0);
    add({"x"});
    EXPECT_EQ(seen, (QStringList{"3::2", "0:dir/file.txt:1234", "1::1000", "2::0"}));
    EXPECT_EQ(engine.ErrCode(), 0x34);
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(messages.last().code, 0x1234);
    EXPECT_EQ(messages.last().text, QStringLiteral("disk full"));
    EXPECT_TRUE(host.messages.isEmpty()); // library messages never open a box
}

TEST_F(LibraryInterfaceTest, SizesOver2GiBReachOnProgressWhole) {
    QList<qint64> sizes;
    engine.OnProgress = [&](ProgressType, const QString&, qint64 size) { sizes.append(size); };
    const qint64 k3GiB = qint64(3) << 30;
    const qint64 kOver4GiB = (qint64(5) << 30) + 7;
    for (FakeLibrary* library : {&zipdll, &unzdll}) {
        library->queueWide(BRX_ACTION_TOTAL_FILES, (qint64(1) << 31) + 5);
        library->queueWide(BRX_ACTION_TOTAL_SIZE, kOver4GiB);
        library->queueWide(BRX_ACTION_ITEM_START, k3GiB, "big.bin");
        library->queueWide(BRX_ACTION_PROGRESS, k3GiB + 1);
    }
    add({"x"});
    extract();
    const QList<qint64> once{(qint64(1) << 31) + 5, kOver4GiB, k3GiB, k3GiB + 1};
    EXPECT_EQ(sizes, once + once);
}

TEST_F(LibraryInterfaceTest, PasswordRepliesAreCutAndCapped) {
    engine.OnPasswordError = [](QString& password, const QString& forFile, unsigned& repeat) {
        password = QString(90, 'k');
        repeat = 40;
        EXPECT_EQ(forFile, QStringLiteral("locked.txt"));
    };
    unzdll.queue(BRX_ACTION_PASSWORD, 0, 2, "locked.txt");
    extract();
    ASSERT_EQ(unzdll.replyCount(), 1);
    const FakeReplyValues r = unzdll.reply(0);
    EXPECT_EQ(r.text, std::string(80, 'k'));
    EXPECT_EQ(r.errorCode, BRX_PASSWORD_REPLY_GIVEN);
    EXPECT_EQ(r.size, 15);
}

TEST_F(LibraryInterfaceTest, BothLibrariesGetTheSamePasswordCutByCharacters) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units, four bytes
    engine.setPassword(emoji.repeated(100));
    add({"x"});
    extract();
    EXPECT_EQ(zipdll.string("password"), emoji.repeated(80));
    EXPECT_EQ(unzdll.string("password"), emoji.repeated(80));

    unzdll.reset(160);
    engine.OnPasswordError = [&](QString& password, const QString&, unsigned&) {
        password = emoji.repeated(90);
    };
    unzdll.queue(BRX_ACTION_PASSWORD, 0, 1, "locked.txt");
    extract();
    ASSERT_EQ(unzdll.replyCount(), 1);
    EXPECT_EQ(QString::fromStdString(unzdll.reply(0).text), emoji.repeated(80));
}

TEST_F(LibraryInterfaceTest, PasswordAskedThroughTheHostGoesToTheLibraryOnly) {
    engine.setPassword(QStringLiteral("old"));
    host.queuePassword(QStringLiteral("typed"));
    host.queuePassword(QStringLiteral("typed"));
    zipdll.queue(BRX_ACTION_PASSWORD, BRX_PASSWORD_CONFIRM_BIT, 1, "f");
    zipdll.queue(BRX_ACTION_PASSWORD, 0, 1, "g"); // the host has no answer left
    add({"x"});
    ASSERT_EQ(zipdll.replyCount(), 2);
    EXPECT_EQ(host.passwordPrompts.size(), 3); // enter + confirm, then enter
    EXPECT_EQ(zipdll.reply(0).text, "typed");
    EXPECT_EQ(zipdll.reply(0).errorCode, 1);
    EXPECT_EQ(zipdll.reply(1).errorCode, 0);
    EXPECT_EQ(zipdll.reply(1).size, 0);
    EXPECT_EQ(engine.Password(), QStringLiteral("old"));
}

TEST_F(LibraryInterfaceTest, CrcOverwriteAndNewNameReplies) {
    unzdll.queue(BRX_ACTION_CRC_ERROR, 0x11, 0x22, "bad");
    unzdll.queue(BRX_ACTION_OVERWRITE, BRX_OVERWRITE_IS_OLDER_BIT, 0, "old");
    extract(); // no handlers
    EXPECT_EQ(unzdll.reply(0).errorCode, BRX_CRC_REPLY_NO_ANSWER);
    EXPECT_EQ(unzdll.reply(1).size, 0);

    unzdll.reset(160);
    uint32_t found = 0, expected = 0;
    bool older = false;
    engine.OnCRC32Error = [&](const QString&, uint32_t f, uint32_t e, bool& doExtract) {
        found = f;
        expected = e;
        EXPECT_TRUE(doExtract);
        doExtract = false;
    };
    engine.OnExtractOverwrite = [&](const QString&, bool isOlder, bool& doOverwrite) {
        older = isOlder;
        doOverwrite = true;
    };
    unzdll.queue(BRX_ACTION_CRC_ERROR, 0x11, 0x22, "bad");
    unzdll.queue(BRX_ACTION_OVERWRITE, BRX_OVERWRITE_IS_OLDER_BIT, 0, "old");
    extract();
    EXPECT_EQ(found, 0x11u);
    EXPECT_EQ(expected, 0x22u);
    EXPECT_TRUE(older);
    EXPECT_EQ(unzdll.reply(0).errorCode, BRX_CRC_REPLY_DISCARD);
    EXPECT_EQ(unzdll.reply(1).size, BRX_OVERWRITE_REPLY_YES);

    engine.OnSetNewName = [](QString& name, bool& changed) {
        name = QStringLiteral("renamed/") + name;
        changed = true;
    };
    zipdll.queue(BRX_ACTION_NEW_NAME, 0, 0, "file");
    add({"x"});
    EXPECT_EQ(zipdll.reply(0).text, "renamed/file");
    EXPECT_EQ(zipdll.reply(0).action, 8);
}

TEST_F(LibraryInterfaceTest, CancelStopsTheLibraryAndThrowingHandlersAreContained) {
    engine.OnProgress = [&](ProgressType type, const QString&, qint64) {
        if (type == ProgrTotalFiles) engine.setCancel(true);
        if (type == ProgrEndOfBatch) throw std::runtime_error("handler failed");
    };
    zipdll.queue(BRX_ACTION_TOTAL_FILES, 0, 1);
    zipdll.queue(BRX_ACTION_PROGRESS, 0, 1);
    add({"x"});
    ASSERT_EQ(zipdll.replyCount(), 1);
    EXPECT_EQ(zipdll.reply(0).result, BRX_CALLBACK_STOP);
    EXPECT_FALSE(engine.Cancel());

    zipdll.reset(160);
    zipdll.queue(BRX_ACTION_END, 0, 0);
    add({"x"});
    EXPECT_EQ(zipdll.reply(0).result, BRX_CALLBACK_STOP);
    EXPECT_EQ(engine.SuccessCnt(), 0);
    EXPECT_EQ(engine.ErrCode(), GE_FatalZip);
}

} // namespace
} // namespace brx::test
