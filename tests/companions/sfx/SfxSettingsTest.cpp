#include "SafePath.h"
#include "SfxArchive.h"
#include "SfxPlan.h"
#include "SfxSettings.h"

#include <gtest/gtest.h>

using namespace sfxcore;

namespace {

std::string mpv(uint8_t bits, const std::vector<std::string>& strings) {
    std::string h = "MPV";
    h.push_back(char(bits));
    h += std::string("\0\1\0\0", 4);
    for (const std::string& s : strings) {
        h.push_back(char(s.size()));
        h += s;
    }
    while (h.size() % 4) h.push_back('\0');
    h[6] = char(h.size());
    return h;
}

std::optional<SfxSettings> parse(const std::string& bytes) {
    return findHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

} // namespace

TEST(SfxHeaderParse, NewerHeaderGivesStringsAndOptions) {
    const auto s = parse("stub bytes" + mpv(0x01 | 0x02 | 0x08 | 0x40 | 0x80,
                                            {"Titre", "C:\\App", "><run.exe", "\2Bonjour"}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->caption, "Titre");
    EXPECT_EQ(s->defaultDir, "C:\\App");
    EXPECT_EQ(s->commandLine, "><run.exe");
    EXPECT_EQ(s->message, "\2Bonjour");
    EXPECT_TRUE(s->askCmdLine && s->askFiles && s->autoRun && s->noSuccessMsg && s->checkSize);
    EXPECT_FALSE(s->hideOverwriteBox);
    EXPECT_EQ(s->overwrite, OverwriteMode::Always);
}

TEST(SfxHeaderParse, OlderHeaderHasNoMessageAndNoSuccessBit) {
    std::string h = "MPU";
    h.push_back(char(0x10 | 0x20 | 0x80));
    h += std::string{char(3), char(2), char(0)} + "abc" + "\xe9x";
    const auto s = parse(h);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->olderHeader);
    EXPECT_EQ(s->caption, "abc");
    EXPECT_EQ(s->defaultDir, "\xc3\xa9x"); // code page 1252 é in UTF-8
    EXPECT_EQ(s->overwrite, OverwriteMode::Never);
    EXPECT_FALSE(s->checkSize);
    EXPECT_FALSE(s->noSuccessMsg);
    EXPECT_TRUE(s->message.empty());
}

TEST(SfxHeaderParse, TruncatedOrMissingHeaderIsRefused) {
    const std::string full = mpv(0, {"Caption", "", "", ""});
    EXPECT_FALSE(parse(full.substr(0, 12)));
    EXPECT_FALSE(parse("no header here"));
    EXPECT_EQ(ansiToUtf8("\x80"), "\xe2\x82\xac"); // euro sign
}

TEST(SfxPlanTest, MessageCodesChooseTheButtons) {
    SfxSettings s;
    s.message = "\1Continuer ?";
    SfxPlan plan = makePlan(s, "setup.exe", "/tmp/");
    EXPECT_TRUE(plan.showMessage);
    EXPECT_EQ(plan.messageButtons, MessageButtons::OkCancel);
    EXPECT_EQ(plan.messageText, "Continuer ?");
    s.message = "\2Oui ?";
    EXPECT_EQ(makePlan(s, "setup.exe", "/tmp/").messageButtons, MessageButtons::YesNo);
    s.message = "Bienvenue";
    plan = makePlan(s, "setup.exe", "/tmp/");
    EXPECT_EQ(plan.messageButtons, MessageButtons::Ok);
    EXPECT_EQ(plan.messageText, "Bienvenue");
}

TEST(SfxPlanTest, AutomaticExtractionNeedsTheExclamationMark) {
    SfxSettings s;
    s.autoRun = true;
    s.askFiles = true;
    s.message = "Hello";
    EXPECT_FALSE(makePlan(s, "setup.exe", "/tmp/").autoRun);
    const SfxPlan plan = makePlan(s, "!setup.exe", "/tmp/");
    EXPECT_TRUE(plan.autoRun);
    EXPECT_FALSE(plan.showMessage);
    EXPECT_FALSE(plan.folderEditable);
}

TEST(SfxPlanTest, FolderMarkStandsForTheTemporaryFolder) {
    SfxSettings s;
    s.defaultDir = "><";
    EXPECT_EQ(makePlan(s, "a.exe", "/tmp/").folder, "/tmp/");
    s.defaultDir = "></App";
    EXPECT_EQ(makePlan(s, "a.exe", "/tmp").folder, "/tmp/App");
    s.defaultDir.clear();
    EXPECT_EQ(makePlan(s, "a.exe", "/tmp").folder, "/tmp/");
    EXPECT_EQ(substituteFolder("><PROG/SETUP.EXE -q", "/x/y"), "/x/y/PROG/SETUP.EXE -q");
    EXPECT_EQ(makePlan(s, "a.exe", "/tmp").caption, kDefaultCaption);
}

TEST(SafePathTest, NamesThatLeaveTheFolderAreRefused) {
    EXPECT_EQ(safeTargetPath("/out", "a/b.txt").value_or(""), "/out/a/b.txt");
    EXPECT_EQ(safeTargetPath("/out/", "a\\.\\b.txt").value_or(""), "/out/a/b.txt");
    const std::string control = std::string("a") + char(1) + "b";
    for (const std::string& bad :
         {std::string("../x"), std::string("a/../../x"), std::string("/etc/passwd"),
          std::string("\\x"), std::string("C:x"), std::string("a/b:stream"), control,
          std::string()})
        EXPECT_FALSE(safeTargetPath("/out", bad)) << bad;
}

TEST(PeImageEndTest, EndOfLastSectionOrNothing) {
    std::string pe(0x200, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    pe[60] = char(0x80);
    pe.replace(0x80, 4, std::string("PE\0\0", 4));
    pe[0x80 + 6] = 2;          // two sections
    pe[0x80 + 20] = char(224); // optional header size
    const size_t table = 0x80 + 24 + 224;
    pe[table + 16] = 0x00;
    pe[table + 17] = 0x02;      // raw size 0x200
    pe[table + 21] = 0x04;      // raw pointer 0x400
    pe[table + 40 + 17] = 0x01; // raw size 0x100
    pe[table + 40 + 21] = 0x02; // raw pointer 0x200
    const auto end = peImageEnd(reinterpret_cast<const unsigned char*>(pe.data()), pe.size());
    ASSERT_TRUE(end);
    EXPECT_EQ(*end, 0x600u);
    EXPECT_FALSE(peImageEnd(reinterpret_cast<const unsigned char*>("MZ"), 2));
}
