#include "app/ShellVerbs.h"
#include "tests/fakes/FakeClassRootStore.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <gtest/gtest.h>

using namespace brx;

namespace {

const QString P = "/opt/Mes programmes/BRX_EXPLO";
const QString kQuestion = "Winzip est actuellement associé avec vos fichiers *.Zip.\rSouhaitez "
                          "vous associer les fichiers *.Zip avec BRX_EXPLO ?";

QString command(const QString& verbKey) {
    return verbKey + "\\command";
}

class ShellVerbsTest : public ::testing::Test {
protected:
    FakeClassRootStore store;
    ScriptedUserHost host;

    QString value(const QString& key) { return store.peekDefault(key); }
};

} // namespace

TEST_F(ShellVerbsTest, UnassociatedZipIsTakenWithoutAQuestion) {
    RegisterVerbs(store, host, P);
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_EQ(value(".zip"), "zip_auto_file");
    EXPECT_EQ(value(command("Folder\\shell\\Fichiers Vers &Zip")),
              "\"/opt/Mes programmes/BRX_EXPLO\" -#\"%1\"");
    EXPECT_EQ(value(command("exefile\\shell\\Exe Vers &Zip")),
              "/opt/Mes programmes/BRX_EXPLO -&\"%1\"");
    EXPECT_EQ(value("zip_auto_file\\defaulticon"), P + ",0");
    EXPECT_EQ(value(command("zip_auto_file\\shell\\Zip Vers &Exe")), P + " -&\"%1\"");
    EXPECT_EQ(value(command("zip_auto_file\\shell\\Zip Vers &Fichiers")), P + " -!\"%1\"");
}

TEST_F(ShellVerbsTest, AnotherClassKeptOnNoGetsTheArchiveVerbs) {
    store.keys.setValue(".zip", "Winzip");
    host.queueAnswer(MsgResult::No);
    RegisterVerbs(store, host, P);

    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].text, kQuestion);
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(host.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(value(".zip"), "Winzip");
    EXPECT_EQ(value(command("Winzip\\shell\\Zip Vers &Exe")), P + " -&\"%1\"");
    EXPECT_EQ(value(command("Winzip\\shell\\Zip Vers &Fichiers")), P + " -!\"%1\"");
    EXPECT_FALSE(store.keyExists("zip_auto_file\\shell"));
    EXPECT_EQ(value("zip_auto_file\\defaulticon"), P + ",0") << "the icon is written regardless";
}

TEST_F(ShellVerbsTest, YesTakesZipAndASecondRegistrationAsksNothing) {
    store.keys.setValue(".zip", "Winzip");
    host.queueAnswer(MsgResult::Yes);
    RegisterVerbs(store, host, P);
    EXPECT_EQ(value(".zip"), "zip_auto_file");
    RegisterVerbs(store, host, P);
    EXPECT_EQ(host.messages.size(), 1);
}

TEST_F(ShellVerbsTest, OurClassInAnotherCaseIsAnotherClass) {
    store.keys.setValue(".zip", "ZIP_AUTO_FILE");
    host.queueAnswer(MsgResult::No);
    RegisterVerbs(store, host, P);
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_TRUE(host.messages[0].text.startsWith("ZIP_AUTO_FILE est actuellement"));
    // Key names ignore case: the verbs land in our class's keys anyway.
    EXPECT_EQ(value(command("zip_auto_file\\shell\\Zip Vers &Exe")), P + " -&\"%1\"");
}

TEST_F(ShellVerbsTest, UnregistrationRemovesTheCommandsInOrderAndSaysSo) {
    RegisterVerbs(store, host, P);
    store.keys.setValue("Winzip\\shell\\Zip Vers &Exe\\command", "other");
    store.keys.setValue("zip_auto_file\\shell\\Restaurer\\command", "old");
    store.journal.clear();
    UnregisterVerbs(store, host);

    QStringList deletions;
    for (const QString& entry : store.journal)
        if (entry.startsWith("delete ")) deletions << entry.mid(7);
    EXPECT_EQ(deletions, (QStringList{"Folder\\shell\\Fichiers Vers &Zip\\command",
                                      "zip_auto_file\\shell\\Zip Vers &Exe\\command",
                                      "Winzip\\shell\\Zip Vers &Exe\\command",
                                      "zip_auto_file\\shell\\Restaurer",
                                      "zip_auto_file\\shell\\Zip Vers &Fichiers\\command",
                                      "exefile\\shell\\Exe Vers &Zip\\command"}));
    // The verb keys stay, without their commands; the association stays.
    EXPECT_TRUE(store.keyExists("Folder\\shell\\Fichiers Vers &Zip"));
    EXPECT_TRUE(store.keyExists("zip_auto_file\\shell\\Zip Vers &Exe"));
    EXPECT_FALSE(store.keyExists("zip_auto_file\\shell\\Restaurer"));
    EXPECT_EQ(value(".zip"), "zip_auto_file");
    EXPECT_TRUE(store.keyExists("Winzip\\shell")) << "shell keys are opened with creation";

    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].caption, "Info");
    EXPECT_EQ(host.messages[0].text, "L'extension du shell est désactivée.");
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::Ok);
}

TEST_F(ShellVerbsTest, VerbsUnderAnyOtherKeptClassStay) {
    store.keys.setValue(".zip", "MonArchiveur");
    host.queueAnswer(MsgResult::No);
    RegisterVerbs(store, host, P);
    UnregisterVerbs(store, host);
    EXPECT_EQ(value(command("MonArchiveur\\shell\\Zip Vers &Exe")), P + " -&\"%1\"");
}

TEST_F(ShellVerbsTest, TwoUnregistrationsToggleBrxBack) {
    UnregisterVerbs(store, host);
    EXPECT_EQ(value(".brx"), "brxfile");
    UnregisterVerbs(store, host);
    EXPECT_EQ(value(".brx"), "");
    store.keys.setValue(".brx", "autre");
    UnregisterVerbs(store, host);
    EXPECT_EQ(value(".brx"), "");
}

TEST_F(ShellVerbsTest, AStoreErrorStopsQuietlyAndKeepsWhatWasDone) {
    store.failAfter = 1; // the folder verb is written, then the store refuses
    EXPECT_THROW(RegisterVerbs(store, host, P), EClassRootStore);
    EXPECT_TRUE(store.keyExists("Folder\\shell\\Fichiers Vers &Zip\\command"));
    EXPECT_FALSE(store.keyExists("exefile"));
    EXPECT_TRUE(host.messages.isEmpty());

    store.failAfter = 2; // ".brx" created and toggled, then the store refuses
    EXPECT_THROW(UnregisterVerbs(store, host), EClassRootStore);
    EXPECT_EQ(value(".brx"), "brxfile");
    EXPECT_TRUE(store.keyExists("Folder\\shell\\Fichiers Vers &Zip\\command"));
    EXPECT_TRUE(host.messages.isEmpty()) << "no Info box after a failed unregistration";
}
