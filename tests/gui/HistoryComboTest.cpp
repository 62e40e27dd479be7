#include "settings/PrivateProfile.h"
#include "gui/HistoryCombo.h"
#include "tests/fakes/FakeVolumes.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

QStringList items(const QComboBox& box) {
    QStringList list;
    for (int i = 0; i < box.count(); ++i) list.append(box.itemText(i));
    return list;
}

class HistoryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("BRX_EXPL.INI")); }
    QComboBox box;
    void SetUp() override { box.setEditable(true); }
};

} // namespace

TEST_F(HistoryTest, SavedHistoryReadsBackInOrderWithItsShownText) {
    box.addItems({"/", "/srv/Sauve/"});
    box.setEditText("/srv/Sauve/");
    SaveHistory(&box, ini(), "HistoryExtrDir");

    PrivateProfile profile(ini());
    EXPECT_EQ(profile.keys("HistoryExtrDir"), (QStringList{"n0", "n1", "last"}));

    QComboBox loaded;
    loaded.setEditable(true);
    LoadHistory(&loaded, ini(), "HistoryExtrDir", std::nullopt);
    EXPECT_EQ(items(loaded), (QStringList{"/", "/srv/Sauve/"}));
    EXPECT_EQ(loaded.currentText(), "/srv/Sauve/");
}

TEST_F(HistoryTest, SectionWithOnlyLastGivesEmptyListAndStoredText) {
    PrivateProfile(ini()).writeString("titres", "last", "Mon titre");
    LoadHistory(&box, ini(), "titres", QStringLiteral("Installation de mon programme"));
    EXPECT_TRUE(items(box).isEmpty());
    EXPECT_EQ(box.currentText(), "Mon titre");
}

TEST_F(HistoryTest, AbsentSectionGivesDefaultItemOrLeavesBoxAlone) {
    LoadHistory(&box, ini(), "titres", QStringLiteral("Installation de mon programme"));
    EXPECT_EQ(items(box), QStringList{"Installation de mon programme"});
    EXPECT_EQ(box.currentText(), "Installation de mon programme");

    QComboBox untouched;
    untouched.setEditable(true);
    untouched.addItems({"a", "b"});
    untouched.setEditText("typed");
    LoadHistory(&untouched, ini(), "HWC", std::nullopt);
    EXPECT_EQ(items(untouched), (QStringList{"a", "b"}));
    EXPECT_EQ(untouched.currentText(), "typed");
}

TEST_F(HistoryTest, EmptyValuesAreSkippedAndLastFallsBackToFirstEntry) {
    PrivateProfile profile(ini());
    profile.writeString("HWC", "n0", "*.doc");
    profile.writeString("HWC", "n1", "");
    profile.writeString("HWC", "n2", "*.txt");
    LoadHistory(&box, ini(), "HWC", std::nullopt);
    EXPECT_EQ(items(box), (QStringList{"*.doc", "*.txt"}));
    EXPECT_EQ(box.currentText(), "*.doc");
}

TEST_F(HistoryTest, ClearedListLeavesPreviousHistoryInFile) {
    box.addItems({"*.*"});
    box.setEditText("*.*");
    SaveHistory(&box, ini(), "HWC");
    box.clear();
    SaveHistory(&box, ini(), "HWC");
    QComboBox again;
    again.setEditable(true);
    LoadHistory(&again, ini(), "HWC", std::nullopt);
    EXPECT_EQ(items(again), QStringList{"*.*"});
}

TEST_F(HistoryTest, SaveDropsBlankEntriesAndReplacesTheSection) {
    PrivateProfile(ini()).writeString("HWC", "n7", "stale");
    box.addItems({"a", "   ", "b"});
    box.setEditText("b");
    SaveHistory(&box, ini(), "HWC");
    EXPECT_EQ(items(box), (QStringList{"a", "b"}));
    PrivateProfile profile(ini());
    EXPECT_EQ(profile.keys("HWC"), (QStringList{"n0", "n1", "last"}));
    EXPECT_EQ(profile.readString("HWC", "n1"), "b");
}

TEST_F(HistoryTest, RememberAddsOnlyNewTextsIgnoringCase) {
    box.addItems({"Mon Programme"});
    box.setEditText("mon programme");
    RememberCurrentText(&box, HistoryKind::Texts);
    EXPECT_EQ(box.count(), 1);
    box.setEditText("Autre");
    RememberCurrentText(&box, HistoryKind::Texts);
    EXPECT_EQ(items(box), (QStringList{"Mon Programme", "Autre"}));
    EXPECT_EQ(box.currentIndex(), 1);
}

// Two folders whose names differ only by case are two folders here.
TEST_F(HistoryTest, RememberTellsPathsApartByCase) {
    box.addItems({"/Data/"});
    box.setEditText("/data/");
    RememberCurrentText(&box, HistoryKind::Paths);
    EXPECT_EQ(items(box), (QStringList{"/Data/", "/data/"}));
    EXPECT_EQ(box.currentIndex(), 1);
    box.setEditText("/Data/");
    RememberCurrentText(&box, HistoryKind::Paths);
    EXPECT_EQ(box.count(), 2) << "the same path is not added twice";
}

// A folder name may hold a line break; written raw it would plant keys.
TEST_F(HistoryTest, EntriesWithLineBreaksCannotInjectKeys) {
    PrivateProfile(ini()).writeString("explo", "ftop", "1");
    box.addItems({"/srv/a/", "/srv/x\n[explo]\nftop=0\n", "/srv/b/"});
    box.setEditText("/srv/y\r\n[div]\r\ndateinstall=FA41");
    SaveHistory(&box, ini(), "HistoryShelDir");

    PrivateProfile profile(ini());
    EXPECT_EQ(profile.readString("explo", "ftop"), "1");
    EXPECT_EQ(profile.readString("div", "dateinstall"), "");
    EXPECT_EQ(profile.keys("HistoryShelDir"), (QStringList{"n0", "n1", "last"}));
    QComboBox loaded;
    loaded.setEditable(true);
    LoadHistory(&loaded, ini(), "HistoryShelDir", std::nullopt);
    EXPECT_EQ(items(loaded), (QStringList{"/srv/a/", "/srv/b/"}));
    EXPECT_EQ(loaded.currentText(), "/srv/a/");
}

TEST_F(HistoryTest, ResetToDrivesListsRootsAndShowsTheSecond) {
    FakeVolumes volumes;
    volumes.setHome("/home/ann/");
    volumes.setVolume("/media/usb/", FakeVolume{DriveType::Removable});
    box.addItems({"old"});
    ResetToDrives(&box, volumes);
    EXPECT_EQ(items(box), (QStringList{"/", "/home/ann/", "/media/usb/"}));
    EXPECT_EQ(box.currentText(), "/home/ann/");
}
