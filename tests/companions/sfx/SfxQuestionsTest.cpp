// What the user meets at each question: cancel everywhere, passwords, the
// folder field, names Windows cannot hold.
#include "EntryExtractor.h"
#include "SfxRunFixture.h"
#include "SfxTexts.h"

using namespace sfxcore;

namespace {

const std::vector<testzip::Item> kTwoFiles = {{"first.txt", "one"}, {"sub/second.txt", "two"}};

class SfxQuestions : public SfxRunFixture {
protected:
    // Runs the self-extractor and checks the outcome of a cancelled run:
    // cancel status, the cancel message, no command, no success box.
    void expectCancelled(const std::string& exe, ScriptedSfxUi& ui) {
        EXPECT_EQ(run(exe, ui), RunResult::Cancelled);
        EXPECT_TRUE(ui.commandsRun.empty());
        ASSERT_EQ(ui.infos.size(), 1u);
        EXPECT_EQ(ui.infos[0], kCancelledText);
    }
    static bool mentions(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

} // namespace

TEST_F(SfxQuestions, CancelAtEveryQuestionRunsNoCommandAndSaysSo) {
    const std::string command = "><first.txt";
    ScriptedSfxUi okCancel; // message code 1, "Annuler"
    okCancel.messageAnswer = false;
    expectCancelled(writeExe(header(0, "", out(), command, "\1Continuer ?"), kTwoFiles, "a.exe"),
                    okCancel);
    EXPECT_EQ(okCancel.lastButtons, MessageButtons::OkCancel);
    EXPECT_EQ(okCancel.folderQuestions, 0);

    ScriptedSfxUi yesNo; // message code 2, "Non"
    yesNo.messageAnswer = false;
    expectCancelled(writeExe(header(0, "", out(), command, "\2Continuer ?"), kTwoFiles, "b.exe"),
                    yesNo);
    EXPECT_EQ(yesNo.lastButtons, MessageButtons::YesNo);
    EXPECT_FALSE(fileExists(out() + "/first.txt"));

    ScriptedSfxUi folder;
    folder.folderAnswer = false;
    expectCancelled(writeExe(header(0, "", out(), command, ""), kTwoFiles, "c.exe"), folder);
    EXPECT_FALSE(fileExists(out() + "/first.txt"));

    QDir().mkpath(QString::fromStdString(out()));
    writeFile("out/first.txt", "old");
    ScriptedSfxUi overwrite;
    overwrite.overwriteAnswers = {OverwriteAnswer::Cancel};
    expectCancelled(writeExe(header(0, "", out(), command, ""), kTwoFiles, "d.exe"), overwrite);
    EXPECT_EQ(readFile(out() + "/first.txt"), "old");
    EXPECT_FALSE(fileExists(out() + "/sub/second.txt")); // nothing after the cancel

    ScriptedSfxUi progress;
    progress.cancelProgressAt = 1;
    expectCancelled(writeExe(header(0x08, "", out() + "2", command, ""), kTwoFiles, "e.exe"),
                    progress);
    EXPECT_TRUE(fileExists(out() + "2/first.txt"));
    EXPECT_FALSE(fileExists(out() + "2/sub/second.txt"));
}

TEST_F(SfxQuestions, CancelAtThePasswordStopsAskingAndExtracting) {
    const std::vector<testzip::Item> items = {
        {"a.txt", "A", false, "pw"}, {"b.txt", "B", false, "pw"}, {"c.txt", "C"}};
    ScriptedSfxUi ui;
    ui.passwords = {std::nullopt};
    expectCancelled(writeExe(header(0, "", out(), "><c.txt", ""), items), ui);
    EXPECT_EQ(ui.passwordQuestions.size(), 1u);
    EXPECT_FALSE(fileExists(out() + "/a.txt"));
    EXPECT_FALSE(fileExists(out() + "/c.txt"));
}

TEST_F(SfxQuestions, OnePasswordServesEveryEntryItOpens) {
    const std::vector<testzip::Item> items = {{"a.txt", "A", false, "pw"},
                                              {"dir/b.txt", "B", true, "pw"},
                                              {"c.txt", "C", false, "other"}};
    ScriptedSfxUi ui;
    ui.passwords = {std::string("pw"), std::string("other")};
    EXPECT_EQ(run(writeExe(header(0, "", out(), "", ""), items), ui), RunResult::Extracted);
    EXPECT_EQ(ui.passwordQuestions, (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_EQ(readFile(out() + "/dir/b.txt"), "B");
    EXPECT_EQ(readFile(out() + "/c.txt"), "C");
}

// A wrong password passes the one-byte check of the encryption header for
// about 1 in 256 tries; the CRC then fails. Such a password must be treated
// as wrong and asked again, not end in a silently failed file.
TEST_F(SfxQuestions, PasswordThatSlipsTheQuickCheckIsAskedAgain) {
    for (const bool deflate : {false, true}) { // CRC mismatch, then data error
        SCOPED_TRACE(deflate ? "deflated" : "stored");
        const std::string folder = out() + (deflate ? "-deflated" : "-stored");
        const std::vector<testzip::Item> items = {
            {"secret.txt", std::string(2000, 's'), deflate, "right"}};
        const std::string exe = writeExe(header(0, "", folder, "", ""), items);
        SfxArchive archive(exe);
        ASSERT_EQ(archive.open(), SfxArchive::Status::Ok);
        EntryExtractor probe(archive);
        std::string slipping;
        for (int i = 0; i < 100000 && slipping.empty(); ++i) {
            const std::string candidate = "guess" + std::to_string(i);
            if (probe.passwordOpens(archive.entries()[0], candidate)) slipping = candidate;
        }
        ASSERT_FALSE(slipping.empty());

        ScriptedSfxUi ui;
        ui.passwords = {slipping, std::string("right")};
        EXPECT_EQ(run(exe, ui), RunResult::Extracted);
        EXPECT_EQ(readFile(folder + "/secret.txt"), std::string(2000, 's'));
        EXPECT_EQ(ui.passwordRetries, (std::vector<bool>{false, true}));

        ScriptedSfxUi stubborn; // the same slipping password three times
        stubborn.passwords = {slipping, slipping, slipping, std::string("right")};
        EXPECT_EQ(run(writeExe(header(0, "", folder + "2", "", ""), items, "b.exe"), stubborn),
                  RunResult::Failed);
        EXPECT_EQ(stubborn.passwordQuestions.size(), 3u);
        EXPECT_FALSE(fileExists(folder + "2/secret.txt"));
        EXPECT_FALSE(fileExists(folder + "2/secret.txt.sfx-part"));
        ASSERT_EQ(stubborn.errors.size(), 1u);
        EXPECT_TRUE(mentions(stubborn.errors[0], "secret.txt : mot de passe incorrect"));
    }
}

TEST_F(SfxQuestions, ErrorBoxNamesTheFailedFilesWithBackslashes) {
    const std::vector<testzip::Item> items = {
        {"ok.txt", "fine"}, {"dir/locked.txt", "x", false, "pw"}, {"../out.txt", "x"}};
    ScriptedSfxUi ui;
    ui.passwords = {std::string("a"), std::string("b"), std::string("c")};
    EXPECT_EQ(run(writeExe(header(0, "", out(), "><ok.txt", ""), items), ui), RunResult::Failed);
    EXPECT_TRUE(ui.commandsRun.empty());
    EXPECT_EQ(ui.listedNames[1], "dir\\locked.txt");
    EXPECT_EQ(ui.passwordQuestions[0], "dir\\locked.txt");
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(mentions(ui.errors[0], "2 fichier(s) en erreur"));
    EXPECT_TRUE(mentions(ui.errors[0], "dir\\locked.txt : mot de passe incorrect"));
    EXPECT_TRUE(mentions(ui.errors[0], "..\\out.txt : nom refusé"));
}

TEST_F(SfxQuestions, NamesWindowsReservesAreRefused) {
    const std::vector<testzip::Item> items = {{"NUL", "x"},
                                              {"aux.txt", "x"},
                                              {"dir/Com1.log", "x"},
                                              {"LPT9 .dat", "x"},
                                              {"con/inner.txt", "x"},
                                              {"COM10.txt", "kept"},
                                              {"console.txt", "kept"},
                                              {"nul_.txt", "kept"}};
    ScriptedSfxUi ui;
    EXPECT_EQ(run(writeExe(header(0, "", out(), "", ""), items), ui), RunResult::Failed);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(mentions(ui.errors[0], "5 fichier(s) en erreur"));
    EXPECT_TRUE(mentions(ui.errors[0], "dir\\Com1.log : nom réservé par Windows"));
    EXPECT_TRUE(mentions(ui.errors[0], "con\\inner.txt : nom réservé par Windows"));
    EXPECT_FALSE(fileExists(out() + "/aux.txt"));
    for (const char* kept : {"/COM10.txt", "/console.txt", "/nul_.txt"})
        EXPECT_EQ(readFile(out() + kept), "kept") << kept;
}

TEST_F(SfxQuestions, RelativeDefaultFolderStartsBesideTheProgram) {
    ScriptedSfxUi ui;
    EXPECT_EQ(run(writeExe(header(0, "", "Appli\\Donnees", "", ""), kTwoFiles), ui),
              RunResult::Extracted);
    EXPECT_EQ(readFile(root() + "/Appli\\Donnees/first.txt"), "one");
}

TEST_F(SfxQuestions, EmptiedFolderFieldIsExplainedAndAskedAgain) {
    ScriptedSfxUi ui;
    ui.folderAnswers = {"", "   ", out() + "/chosen"};
    EXPECT_EQ(run(writeExe(header(0x02, "", out(), "", ""), kTwoFiles), ui), RunResult::Extracted);
    EXPECT_EQ(ui.folderQuestions, 3);
    EXPECT_EQ(ui.errors, (std::vector<std::string>{kNoFolderText, kNoFolderText}));
    EXPECT_EQ(readFile(out() + "/chosen/first.txt"), "one");
}

TEST_F(SfxQuestions, DamagedArchiveIsReportedBeforeAnyQuestion) {
    std::string exe = readFile(writeExe(header(0, "", out(), "", "\1Installer ?"), kTwoFiles));
    exe.resize(exe.size() - 1); // the end record loses its last byte: no archive
    ScriptedSfxUi cut;
    EXPECT_EQ(run(writeFile("cut.exe", exe), cut), RunResult::Failed);
    EXPECT_TRUE(cut.messages.empty());
    ASSERT_EQ(cut.errors.size(), 1u);
    EXPECT_TRUE(mentions(cut.errors[0], "endommagée"));
}
