// The general error display: an exception escaping an event handler is shown
// and written to stderr, and the program keeps handling events.
#include "app/ErrorDisplay.h"
#include "settings/PrivateProfile.h"
#include "support/AppGlobals.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace brx;

namespace {

// An object whose handler runs whatever the test gives it.
class Handler : public QObject {
public:
    std::function<void()> onEvent;
    int handled = 0;

    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++handled;
        if (onEvent) onEvent();
        return true;
    }
};

void deliver(Handler& handler) {
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
}

class ErrorDisplayTest : public testing::Test {
protected:
    void SetUp() override {
        setApplicationTitle(kApplicationTitle);
        setErrorDisplayHost(&host);
    }
    void TearDown() override { setErrorDisplayHost(nullptr); }

    ScriptedUserHost host;
};

} // namespace

TEST_F(ErrorDisplayTest, HandlerThatThrowsIsReportedAndTheProgramGoesOn) {
    Handler handler;
    handler.onEvent = [] { throw SettingsWriteError(QStringLiteral("/opt/brx/BRX_EXPL.INI")); };
    testing::internal::CaptureStderr();
    deliver(handler);
    const std::string written = testing::internal::GetCapturedStderr();

    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].text, "Ne peut écrire dans /opt/brx/BRX_EXPL.INI");
    EXPECT_EQ(host.messages[0].caption, "BRX_EXPLO");
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(host.messages[0].icon, MsgIcon::Error);
    EXPECT_NE(written.find("BRX_EXPLO: Ne peut écrire dans /opt/brx/BRX_EXPL.INI\n"),
              std::string::npos)
        << written;

    handler.onEvent = nullptr;
    deliver(handler);
    EXPECT_EQ(handler.handled, 2) << "events are still handled after the error";
    bool fired = false;
    QTimer::singleShot(0, [&] {
        fired = true;
        throw std::runtime_error("second");
    });
    QCoreApplication::processEvents();
    EXPECT_TRUE(fired);
    ASSERT_EQ(host.messages.size(), 2);
    EXPECT_EQ(host.messages[1].text, "second");
}

TEST_F(ErrorDisplayTest, ErrorWithoutTextGetsAFrenchOne) {
    Handler handler;
    handler.onEvent = [] { throw 42; };
    testing::internal::CaptureStderr();
    deliver(handler);
    const std::string written = testing::internal::GetCapturedStderr();
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].text, "Erreur inconnue.");
    EXPECT_NE(written.find("Erreur inconnue."), std::string::npos);
}

namespace {
// A host whose box, while open, lets another failing handler run: the way a
// handler that fails on every repaint would behave.
class ReentrantHost final : public IUserHost {
public:
    Handler* failing = nullptr;
    int boxes = 0;
    MsgResult messageBox(const MessageRequest&) override {
        ++boxes;
        if (boxes < 5 && failing) deliver(*failing);
        return MsgResult::Ok;
    }
    std::optional<QString> askPassword(const QString&, const QString&) override { return {}; }
    void setBusy(bool) override {}
    void processEvents() override {}
};
} // namespace

TEST_F(ErrorDisplayTest, ErrorsWhileTheBoxIsOpenAreOnlyWritten) {
    ReentrantHost reentrant;
    setErrorDisplayHost(&reentrant);
    Handler handler;
    handler.onEvent = [] { throw std::runtime_error("encore"); };
    reentrant.failing = &handler;
    testing::internal::CaptureStderr();
    deliver(handler);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reentrant.boxes, 1);
    EXPECT_EQ(handler.handled, 2);
    EXPECT_NE(written.find("encore\nBRX_EXPLO: encore\n"), std::string::npos) << written;

    deliver(handler); // the box is closed again: the next error shows one
    EXPECT_EQ(reentrant.boxes, 2);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BrxApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
