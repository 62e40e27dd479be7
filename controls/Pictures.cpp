#include "Pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMovie>

namespace brx {

QString ProgramFile(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

bool ShowPicture(QLabel* label, const QString& path, bool animated) {
    // The label owns the movie it shows; an older one goes with the new.
    QMovie* old = label->movie();
    label->clear();
    if (old != nullptr && old->parent() == label) old->deleteLater();

    auto* movie = new QMovie(path, QByteArray(), label);
    if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull()) {
        delete movie;
        return false;
    }
    if (!animated) {
        label->setPixmap(movie->currentPixmap());
        delete movie;
        return true;
    }
    label->setMovie(movie);
    movie->start();
    return true;
}

} // namespace brx
