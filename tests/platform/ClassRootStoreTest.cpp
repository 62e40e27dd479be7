#include "platform/TextClassRootStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class ClassRootStoreTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString path = root.filePath("config/BRX_EXPLO/classroot.txt");
    TextClassRootStore store{path};
};

} // namespace

TEST_F(ClassRootStoreTest, KeyNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    store.writeDefault("Zip_Auto_File\\Shell\\Zip Vers &Exe\\command", "a");
    store.writeDefault("ZIP_AUTO_FILE\\shell\\zip vers &exe\\COMMAND", "b");
    EXPECT_EQ(store.peekDefault("zip_auto_file\\shell\\Zip Vers &Exe\\command"), "b");
    EXPECT_EQ(store.subKeys("zip_auto_file"), QStringList{"Shell"});
    EXPECT_EQ(store.subKeys("zip_auto_file\\shell"), QStringList{"Zip Vers &Exe"});
    // A trailing separator names the same key.
    store.writeDefault("zip_auto_file\\defaulticon\\", "/p,0");
    EXPECT_EQ(store.peekDefault("ZIP_AUTO_FILE\\DefaultIcon"), "/p,0");
}

TEST_F(ClassRootStoreTest, ReadingCreatesTheKeyWithAnEmptyValue) {
    EXPECT_FALSE(store.keyExists(".zip"));
    EXPECT_EQ(store.readDefault(".zip"), "");
    EXPECT_TRUE(store.keyExists(".zip"));
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(ClassRootStoreTest, DeleteRemovesTheKeyWithItsSubkeysOnly) {
    store.writeDefault("A\\shell\\Restaurer\\command", "x");
    store.writeDefault("A\\shell\\Restaurer2\\command", "y");
    store.createKey("A\\shell\\Restaurer\\ddeexec\\topic");
    EXPECT_TRUE(store.deleteKey("a\\SHELL\\restaurer"));
    EXPECT_FALSE(store.keyExists("A\\shell\\Restaurer\\ddeexec"));
    EXPECT_TRUE(store.keyExists("A\\shell"));
    EXPECT_EQ(store.peekDefault("A\\shell\\Restaurer2\\command"), "y");
    EXPECT_FALSE(store.deleteKey("A\\shell\\Restaurer"));
}

TEST_F(ClassRootStoreTest, ValuesSurviveTheFileWithQuotesEscapesAndAccents) {
    const QString odd = "\"/opt/Mes programmes/l'été\\x\" -#\"%1\"\r\nfin\ttab\x01";
    store.writeDefault("Folder\\shell\\Fichiers Vers &Zip\\command", odd);
    store.writeDefault("[Bracket]\\key]", "v");
    TextClassRootStore again(path);
    EXPECT_EQ(again.peekDefault("folder\\shell\\fichiers vers &zip\\command"), odd);
    EXPECT_EQ(again.peekDefault("[bracket]\\KEY]"), "v");
    EXPECT_TRUE(again.damage().isEmpty());
}

TEST_F(ClassRootStoreTest, ADamagedFileIsReadUpToTheDamageAndKeptAside) {
    store.writeDefault(".zip", "zip_auto_file");
    store.writeDefault(".brx", "brxfile");
    QByteArray text = readFile(path);
    text += "[Winzip]\n@=\"unterminated\n[Later]\n@=\"lost\"\n";
    writeFile(path, text);

    TextClassRootStore damaged(path);
    EXPECT_EQ(damaged.peekDefault(".zip"), "zip_auto_file");
    EXPECT_TRUE(damaged.keyExists("Winzip"));
    EXPECT_FALSE(damaged.keyExists("Later"));
    EXPECT_TRUE(damaged.damage().startsWith("line ")) << damaged.damage().toStdString();

    damaged.writeDefault(".zip", "Winzip");
    EXPECT_EQ(readFile(path + ".damaged"), text) << "the unreadable part is kept for the user";
    EXPECT_EQ(damaged.peekDefault(".zip"), "Winzip");
    EXPECT_TRUE(damaged.damage().isEmpty());
}

TEST_F(ClassRootStoreTest, GarbageIsReportedWithoutACrash) {
    QDir().mkpath(root.filePath("config/BRX_EXPLO"));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage.append(char((i * 131 + 7) & 0xff));
    writeFile(path, garbage);
    TextClassRootStore damaged(path);
    EXPECT_FALSE(damaged.keyExists(".zip"));
    EXPECT_FALSE(damaged.damage().isEmpty());
    EXPECT_EQ(damaged.readDefault(".zip"), "");
    EXPECT_TRUE(TextClassRootStore(path).keyExists(".zip"));
}

TEST_F(ClassRootStoreTest, AStoreThatCannotBeWrittenRaises) {
    writeFile(root.filePath("blocker"), "a file where the folder should be");
    TextClassRootStore blocked(root.filePath("blocker/BRX_EXPLO/classroot.txt"));
    EXPECT_THROW(blocked.writeDefault(".zip", "zip_auto_file"), EClassRootStore);
    EXPECT_THROW(blocked.readDefault(".brx"), EClassRootStore);
    EXPECT_THROW(store.writeDefault("a\\\\b", "empty name in the middle"), EClassRootStore);
}

TEST_F(ClassRootStoreTest, DefaultFileFollowsTheConfigFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg-here");
    EXPECT_EQ(TextClassRootStore::defaultFilePath(), "/tmp/cfg-here/BRX_EXPLO/classroot.txt");
    qputenv("XDG_CONFIG_HOME", saved);
}
