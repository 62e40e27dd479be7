#include "app/AboutBox.h"
#include "platform/ProgramInfo.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace brx;

namespace {

template <typename T>
T* child(QWidget& box, const char* name) {
    T* found = box.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace

TEST(AboutBox, AProgramWithoutVersionBlockShowsTheNameAlone) {
    // The test program carries no version block, unlike BRX_EXPLO itself.
    TEXPL_AboutBox box;
    EXPECT_EQ(box.windowTitle(), "A propos");
    EXPECT_EQ(child<QLabel>(box, "ProductName")->text(), "BRX_EXPLO ");
    EXPECT_EQ(child<QLabel>(box, "btTips1")->text(),
              "Utilitaire de sauvegarde et de manipulation d'archives ZIP/EXE. ");
    EXPECT_EQ(child<QPushButton>(box, "OKButton")->text(), "Fermer");
    EXPECT_EQ(child<QPushButton>(box, "BttnHlp")->text(), "AIDE");
    EXPECT_GE(box.width(), 329);
    EXPECT_GE(box.height(), 268);
}

TEST(AboutBox, HelpOpensContext219AndFermerCloses) {
    TEXPL_AboutBox box;
    QList<int> contexts;
    child<QPushButton>(box, "BttnHlp")->click(); // no help viewer assigned: nothing happens
    box.OnHelpRequested = [&](int context) { contexts << context; };
    box.show();
    child<QPushButton>(box, "BttnHlp")->click();
    EXPECT_EQ(contexts, QList<int>{219});
    EXPECT_TRUE(box.isVisible());
    child<QPushButton>(box, "OKButton")->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, LinksOpenTheirTargetsWithTheDesktopHandler) {
    TEXPL_AboutBox box;
    QList<QUrl> opened;
    box.OnOpenUrl = [&](const QUrl& url) { opened << url; };
    emit child<QLabel>(box, "LinkFolder")->linkActivated("folder");
    emit child<QLabel>(box, "LinkUpdates")->linkActivated("updates");
    emit child<QLabel>(box, "LinkUpdates")->linkActivated("unknown");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(programFolder()));
    EXPECT_EQ(opened[1].scheme(), "https");
}

TEST(AboutBox, ShowsTheProgramIconFromBesideTheProgram) {
    const QString folder = programFolder() + "icons/hicolor/64x64/apps";
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage icon(64, 64, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    ASSERT_TRUE(icon.save(folder + "/brx_explo.png"));
    TEXPL_AboutBox box;
    QDir(programFolder() + "icons").removeRecursively();
    const QPixmap shown = child<QLabel>(box, "ProgramIcon")->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(32, 32));
    EXPECT_EQ(shown.toImage().pixelColor(16, 16), QColor(Qt::red));
}
