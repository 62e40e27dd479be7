#include "app/Dispatch.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace brx;

namespace {

// Records which face ran and with what argument.
class RecordingFaces final : public IFaces {
public:
    QStringList calls;
    bool failRegistration = false;

    void registerVerbs() override {
        calls.append("register");
        if (failRegistration) throw std::runtime_error("registry denied");
    }
    int showAboutBox() override {
        calls.append("about");
        return 0;
    }
    void unregisterVerbs() override { calls.append("unregister"); }
    int runArchiveManager(const QString& argument) override {
        calls.append("manager:" + argument);
        return 0;
    }
    int runBackup(const QString& argument) override {
        calls.append("backup:" + argument);
        return 0;
    }
};

QStringList run(const QStringList& args, bool failRegistration = false) {
    RecordingFaces faces;
    faces.failRegistration = failRegistration;
    dispatch(QStringList{"BRX_EXPLO"} + args, faces);
    return faces.calls;
}

} // namespace

TEST(Dispatch, NoArgumentRegistersThenShowsAbout) {
    EXPECT_EQ(run({}), (QStringList{"register", "about"}));
}

TEST(Dispatch, FailedRegistrationStillShowsAbout) {
    EXPECT_EQ(run({}, true), (QStringList{"register", "about"}));
}

TEST(Dispatch, UnregisterKeywordInAnyCaseAndAnywhere) {
    EXPECT_EQ(run({"#DEL#!"}), QStringList{"unregister"});
    EXPECT_EQ(run({"#del#!"}), QStringList{"unregister"});
    EXPECT_EQ(run({"xx#Del#!yy.zip"}), QStringList{"unregister"}) << "#DEL#! is tested before .ZIP";
}

TEST(Dispatch, ZipOrExeAnywhereOpensTheArchiveManager) {
    EXPECT_EQ(run({"-!/data/a.zip"}), QStringList{"manager:-!/data/a.zip"});
    EXPECT_EQ(run({"-#/data/Projet.Exe.old"}), QStringList{"manager:-#/data/Projet.Exe.old"});
    EXPECT_EQ(run({"/data/setup.EXE"}), QStringList{"manager:/data/setup.EXE"});
}

TEST(Dispatch, AnythingElseOpensTheBackupWindow) {
    EXPECT_EQ(run({"-#/home/ann/Documents"}), QStringList{"backup:-#/home/ann/Documents"});
    EXPECT_EQ(run({"zipper"}), QStringList{"backup:zipper"})
        << "ZIP without its dot is not an archive";
}

TEST(Dispatch, OnlyTheFirstArgumentCounts) {
    EXPECT_EQ(run({"-#/home/ann", "other.zip"}), QStringList{"backup:-#/home/ann"});
    EXPECT_EQ(run({"a.zip", "#DEL#!"}), QStringList{"manager:a.zip"});
}

TEST(Dispatch, PrefixPassedApartIsJoinedToThePath) {
    EXPECT_EQ(firstArgument({"p", "-#", "/home/ann/My Files"}), QString("-#/home/ann/My Files"));
    EXPECT_EQ(firstArgument({"p", "-!", "/a/b.zip", "x"}), QString("-!/a/b.zip"));
    EXPECT_EQ(firstArgument({"p", "-#"}), QString("-#"));
    EXPECT_EQ(firstArgument({"p", "-#x", "/y"}), QString("-#x"));
    EXPECT_FALSE(firstArgument({"p"}).has_value());
    EXPECT_EQ(run({"-&", "/srv/Sauve.zip"}), QStringList{"manager:-&/srv/Sauve.zip"});
}
