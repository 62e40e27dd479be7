// How the messages, skips and results of an operation add up to its outcome.

#include "engine/base/ZipMsg.h"
#include "engine/ZipOutcome.h"

#include <brx/ZipDllAbi.h>
#include <gtest/gtest.h>

namespace brx {
namespace {

const QString kArchive = QStringLiteral("/tmp/a.zip");

TEST(ZipOutcomeTest, TheWorstKindWinsAndChosenSkipsAreNoFailure) {
    ZipOutcomeRecorder r;
    int done = 0;
    {
        ZipOutcomeScope scope(r, kArchive, true, &done);
        r.noteSkip(SkipNoOverwrite, "kept.txt");
        r.noteLibraryMessage(BRX_MSG_INFO, "note");
        EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Ok);
        r.noteSkip(SkipBadPassword, "secret.txt");
        r.noteCrcError("bad.txt");
        r.noteLibraryMessage(BRX_MSG_FILE_NOT_FOUND, "File not found: x");
        done = 3;
    }
    const ZipOutcome& o = r.outcome();
    EXPECT_EQ(o.kind, ZipOutcomeKind::Damaged);
    EXPECT_EQ(o.chosenSkips, 1);
    EXPECT_EQ(o.failures, 3);
    EXPECT_EQ(o.firstFailure, QStringLiteral("secret.txt: password missing or wrong"));
    EXPECT_EQ(o.done, 3);
    EXPECT_EQ(o.archive, kArchive);
    EXPECT_FALSE(o.succeeded());
}

TEST(ZipOutcomeTest, NothingToDoSucceedsOnlyOnAnExistingArchive) {
    ZipOutcomeRecorder r;
    {
        ZipOutcomeScope scope(r, kArchive, true);
        r.noteLibraryMessage(BRX_MSG_NOTHING_TO_DO, "Nothing to do");
        EXPECT_EQ(r.outcome().messageKind("Nothing to do"), ZipMessageKind::NothingToDo);
        EXPECT_EQ(r.outcome().messageKind("Copying: a"), ZipMessageKind::Info);
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::NothingToDo);
    EXPECT_TRUE(r.outcome().succeeded());
    EXPECT_EQ(r.outcome().failures, 0);
    {
        ZipOutcomeScope scope(r, kArchive, false);
        r.noteLibraryMessage(BRX_MSG_NOTHING_TO_DO, "Nothing to do");
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Failed);
    EXPECT_TRUE(r.outcome().nothingToDo);
}

TEST(ZipOutcomeTest, NestedOperationsKeepTheOuterRecord) {
    ZipOutcomeRecorder r;
    {
        ZipOutcomeScope add(r, kArchive, false);
        r.noteLibraryMessage(BRX_MSG_READ_FAILED, "cannot read b.txt");
        {
            ZipOutcomeScope list(r, QStringLiteral("/tmp/other.zip"), true, nullptr, true);
            r.noteEngineMessage(LI_GarbageAtEOF, "garbage");
        }
        EXPECT_EQ(r.outcome().archive, kArchive);
        EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Partial);
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Partial);
    {
        ZipOutcomeScope scope(r, kArchive, true);
        scope.setResult(-3);
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Failed);
    EXPECT_EQ(r.outcome().done, 0);
}

TEST(ZipOutcomeTest, ReadingFailsAsUnreadableButWarningsPass) {
    ZipOutcomeRecorder r;
    {
        ZipOutcomeScope list(r, kArchive, true, nullptr, true);
        r.noteEngineMessage(LI_WrongZipStruct, "Warning - Error in zip structure!");
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Ok);
    {
        ZipOutcomeScope list(r, kArchive, true, nullptr, true);
        r.noteEngineMessage(DS_CEHWrongSig, "A central header signature is wrong");
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Unreadable);
    {
        ZipOutcomeScope span(r, kArchive, false);
        r.noteEngineMessage(DS_Canceled, "User canceled operation");
    }
    EXPECT_EQ(r.outcome().kind, ZipOutcomeKind::Cancelled);
}

} // namespace
} // namespace brx
