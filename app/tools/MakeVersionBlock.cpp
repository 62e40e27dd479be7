// Writes the program's version block for the build, which embeds it in the
// executable: make_version_block <output file> <version a.b.c.d>
#include "platform/VersionBlock.h"

#include <QFile>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output> <version>\n", argv[0]);
        return 2;
    }
    const QString version = QString::fromUtf8(argv[2]);
    brx::VersionBlockContent content;
    const QStringList parts = version.split(QLatin1Char('.'));
    for (int i = 0; i < 4 && i < parts.size(); ++i) content.fileVersion[i] = parts[i].toUShort();
    content.strings = {
        {QStringLiteral("CompanyName"), QStringLiteral("BRAMBLEX")},
        {QStringLiteral("FileDescription"),
         QStringLiteral("Utilitaire de sauvegarde et de manipulation d'archives ZIP/EXE")},
        {QStringLiteral("FileVersion"), version},
        {QStringLiteral("InternalName"), QStringLiteral("BRX_EXPL")},
        {QStringLiteral("LegalCopyright"), QStringLiteral("Les auteurs de BRX_EXPLO")},
        {QStringLiteral("OriginalFilename"), QStringLiteral("BRX_EXPLO")},
        {QStringLiteral("ProductName"), QStringLiteral("BRX_EXPLO")},
        {QStringLiteral("ProductVersion"), version},
    };
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(brx::buildVersionBlock(content)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
