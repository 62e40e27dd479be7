// Formatting a disk before a volume is written: the worker thread, the
// process-wide slot and the format dialog.
#include "engine/span/DiskFormat.h"
#include "engine/span/FormatThread.h"
#include "gui/FormatDialog.h"
#include "tests/fakes/FakeFormatter.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

using namespace brx;

namespace {

FormatRequest request(bool confirmErase) {
    return FormatRequest{QStringLiteral("/media/disk/"), 1, QStringLiteral("PKBACK# 002"),
                         confirmErase};
}

// Runs step on the format dialog once it is shown (from inside its exec()).
void onDialog(const std::function<void(FormatDialog&)>& step) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (auto* dialog = qobject_cast<FormatDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            step(*dialog);
        }
    });
    timer->start();
}

// Processes events until done() or about five seconds passed.
void waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

// A host whose first event pass asks for a second format while the first runs.
class NestedRequestHost final : public IUserHost {
public:
    explicit NestedRequestHost(FakeFormatter& first) : m_first(first) {}
    MsgResult messageBox(const MessageRequest&) override { return MsgResult::None; }
    std::optional<QString> askPassword(const QString&, const QString&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void processEvents() override {
        if (secondResult != 99) return;
        secondResult = DiskFormat(request(false), second, nullptr, *this);
        m_first.release();
    }
    FakeFormatter second;
    int secondResult = 99;

private:
    FakeFormatter& m_first;
};

TEST(DiskFormat, WithoutDialogFormatsOnAWorkerThreadOnlyWhenNoConfirmationIsWanted) {
    FakeFormatter formatter;
    ScriptedUserHost host;
    EXPECT_EQ(DiskFormat(request(true), formatter, nullptr, host), kFormatNotStarted);
    EXPECT_TRUE(formatter.calls().isEmpty());

    EXPECT_EQ(DiskFormat(request(false), formatter, nullptr, host), 0);
    ASSERT_EQ(formatter.calls().size(), 1);
    EXPECT_EQ(formatter.calls()[0].root, "/media/disk/");
    EXPECT_EQ(formatter.calls()[0].label, "PKBACK# 002");
    EXPECT_NE(formatter.calls()[0].thread, QThread::currentThread());
    EXPECT_EQ(formatSlotOwner(), nullptr);

    formatter.succeed = false;
    EXPECT_EQ(DiskFormat(request(false), formatter, nullptr, host), kFormatError);
}

TEST(DiskFormat, SecondRequestWhileOneRunsStopsAtOnce) {
    FakeFormatter first;
    first.hold = true;
    NestedRequestHost host(first);
    EXPECT_EQ(DiskFormat(request(false), first, nullptr, host), 0);
    EXPECT_EQ(host.secondResult, kFormatError);
    EXPECT_TRUE(host.second.calls().isEmpty());
    EXPECT_EQ(first.calls().size(), 1);
    EXPECT_EQ(formatSlotOwner(), nullptr);
}

TEST(FormatDialog, WithoutConfirmationStartsOnceAndClosesByItself) {
    FakeFormatter formatter;
    ScriptedUserHost host;
    WidgetFormatDialog dialog;
    EXPECT_EQ(DiskFormat(request(false), formatter, &dialog, host), 0);
    ASSERT_EQ(formatter.calls().size(), 1);
    EXPECT_EQ(formatter.calls()[0].label, "PKBACK# 002");

    formatter.succeed = false;
    EXPECT_EQ(DiskFormat(request(false), formatter, &dialog, host), kFormatError);
    EXPECT_EQ(formatter.calls().size(), 2);
}

TEST(FormatDialog, LabelStaysTheVolumeLabelAndClosingWithoutFormatCancels) {
    FakeFormatter formatter;
    ScriptedUserHost host;
    WidgetFormatDialog dialog;
    QString labelAfterEdit;
    onDialog([&](FormatDialog& shown) {
        shown.labelField()->setText(QStringLiteral("MY DISK"));
        labelAfterEdit = shown.labelField()->text();
        shown.closeButton()->click();
    });
    EXPECT_EQ(DiskFormat(request(true), formatter, &dialog, host), kFormatCancelled);
    EXPECT_EQ(labelAfterEdit, "PKBACK# 002");
    EXPECT_TRUE(formatter.calls().isEmpty());
}

TEST(FormatDialog, WithConfirmationWaitsForStartAndStaysOpenAfterTheFormat) {
    FakeFormatter formatter;
    formatter.hold = true;
    ScriptedUserHost host;
    WidgetFormatDialog dialog;
    bool closeRefusedWhileRunning = false;
    bool openAfterFormat = false;
    onDialog([&](FormatDialog& shown) {
        EXPECT_TRUE(formatter.calls().isEmpty()); // nothing before Start
        shown.startButton()->click();
        formatter.started.acquire();
        shown.reject(); // ignored while the format runs
        closeRefusedWhileRunning = shown.isVisible();
        formatter.release();
        waitFor([&] { return shown.closeButton()->isEnabled(); });
        openAfterFormat = shown.isVisible();
        shown.closeButton()->click();
    });
    EXPECT_EQ(DiskFormat(request(true), formatter, &dialog, host), 0);
    EXPECT_TRUE(closeRefusedWhileRunning);
    EXPECT_TRUE(openAfterFormat);
    EXPECT_EQ(formatter.calls().size(), 1);
}

} // namespace
