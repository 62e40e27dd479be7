#include "archive_window/TMainForm.h"

#include "platform/ProgramInfo.h"
#include "support/AppGlobals.h"
#include "support/FileSpelling.h"

#include <QFile>
#include <QLabel>
#include <QMovie>
#include <QVBoxLayout>

namespace brx {

TMainForm::TMainForm(const QString& argument, QWidget* parent)
    : QMainWindow(parent)
    , m_start(deriveArchiveStart(argument, programFolder(), existingFileSpelling)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(applicationTitle());
    resize(567, 437);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* path = new QLabel(QStringLiteral("ARCHIVE : %1").arg(m_start.startPath), central);
    path->setObjectName(QStringLiteral("LabelArchive"));
    layout->addWidget(path);
    const QString page = m_start.page == StartPage::Extract  ? kExtractPageCaption
                         : m_start.page == StartPage::ZipExe ? kZipExePageCaption
                                                             : QString();
    auto* pageLabel = new QLabel(page, central);
    pageLabel->setObjectName(QStringLiteral("LabelPage"));
    layout->addWidget(pageLabel);
    auto* picture = new QLabel(central);
    picture->setObjectName(QStringLiteral("ImagePage"));
    picture->setFixedSize(100, 100);
    if (!m_start.pictureFile.isEmpty() && QFile::exists(m_start.pictureFile)) {
        auto* movie = new QMovie(m_start.pictureFile, QByteArray(), picture);
        picture->setMovie(movie);
        movie->start();
    }
    layout->addWidget(picture);
    layout->addStretch();
    setCentralWidget(central);
}

} // namespace brx
