#include "password/ProgramTexts.h"
#include "password/TextCipher.h"

#include <gtest/gtest.h>

using namespace brx;

namespace {
QString latin1(std::initializer_list<int> codes) {
    QString text;
    for (int code : codes) text.append(QChar(code));
    return text;
}
} // namespace

TEST(TextCipher, KnownOutputsOfBothBuiltInKeys) {
    EXPECT_EQ(CryptPassword("abc", "", true), "FA0D22DF");
    EXPECT_EQ(CryptPassword("motdepasse", "", true), "FA39E500015190BC6AB829")
        << "the 5-letter key is reused";
    EXPECT_EQ(CryptPassword(QStringLiteral("été"), "", true), "FAB5670B") << "Latin-1 codes";
    EXPECT_EQ(CryptText("Hello", "", true), "FA110301085A");
    EXPECT_EQ(CryptPassword("x", "", true).size(), 4);
}

TEST(TextCipher, EmptyTextsAndShortCipherTexts) {
    EXPECT_EQ(CryptPassword("", "", true), "FA");
    EXPECT_EQ(CryptText("", "", true), "FA");
    EXPECT_EQ(CryptPassword("FA", "", false), "");
    EXPECT_EQ(CryptText("FA", "", false), "");
    EXPECT_EQ(CryptPassword("F", "", false), "");
    EXPECT_EQ(CryptPassword("", "", false), "");
}

TEST(TextCipher, KeyIsUsedCyclicallyFromItsFirstCharacter) {
    EXPECT_EQ(CryptPassword("abc", "QMZe7", true), CryptPassword("abc", "", true))
        << "empty key = built-in key";
    EXPECT_EQ(CryptPassword("ab", "LONGKEY", true), CryptPassword("ab", "LO", true));
    // A one-letter key gives the same XOR to every character.
    EXPECT_EQ(CryptText("aaaa", "K", true), CryptText("aaaa", "KKKKKKK", true));
    EXPECT_NE(CryptText("Hello", "", true), CryptPassword("Hello", "", true));
}

TEST(TextCipher, ReadingAcceptsLowerCaseAndOddLengths) {
    EXPECT_EQ(CryptPassword("fa0d22df", "", false), "abc");
    EXPECT_EQ(CryptPassword("FA0D22DF7", "", false), "abc") << "a last lone digit is ignored";
    EXPECT_EQ(CryptPassword("FA0D2", "", false), "a");
    // Exactly three characters: the third is read alone: 0 ^ 'Q' = 81, 81 - 250 + 255 = 86.
    EXPECT_EQ(CryptPassword("FA0", "", false), "V");
}

TEST(TextCipher, NonHexDigitsGiveEmptyText) {
    EXPECT_EQ(CryptPassword("FA0G22", "", false), "");
    EXPECT_EQ(CryptText("ZZ0D", "", false), "");
    EXPECT_EQ(CryptText("FA+1", "", false), "");
}

TEST(TextCipher, RoundTripsEveryCodeFrom1To254) {
    QString all;
    for (int code = 1; code <= 254; ++code) all.append(QChar(code));
    for (const QString& key :
         {QString(), QStringLiteral("k"), QStringLiteral("a much longer key than usual")}) {
        EXPECT_EQ(CryptPassword(CryptPassword(all, key, true), key, false), all);
        EXPECT_EQ(CryptText(CryptText(all, key, true), key, false), all);
    }
}

TEST(TextCipher, Code255ComesBackUnlessChainedAfter255) {
    EXPECT_EQ(CryptPassword(CryptPassword(latin1({255}), "", true), "", false), latin1({255}));
    // With a chain value of 255 before it, code 255 enciphers to 0 ^ key and
    // reads back as code 0.
    const int key = 'Q';
    const int chained = ((255 + 255) % 255) ^ key; // the pair written after a chain of 255
    const QString text = QStringLiteral("FF%1").arg(chained, 2, 16, QLatin1Char('0'));
    EXPECT_EQ(CryptPassword(text, "", false), latin1({0}));
}

TEST(TextCipher, TextsOutsideLatin1AreRecognised) {
    EXPECT_TRUE(fitsTextCipher(QStringLiteral("mot de passe ÿ")));
    EXPECT_FALSE(fitsTextCipher(QStringLiteral("€uro")));
}

TEST(ProgramTexts, BackupHintIsHeldEncipheredAndReadsBack) {
    const QString hint = backupWindowLongHint();
    EXPECT_EQ(hint.size(), 25);
    EXPECT_EQ(hint, "Sauvegarde rapide en ZIP.");
}
