// Times TZipEngine::List on an archive of 65,535 stored entries (the most a
// directory without Zip64 holds). Run by hand:
//   engine_list_bench [ENTRIES] [ROUNDS]
// Prints the time of each round and the best one.

#include "engine/ZipEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

void put16(QByteArray& b, uint16_t v) {
    b.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray& b, uint32_t v) {
    put16(b, uint16_t(v & 0xFFFF));
    put16(b, uint16_t(v >> 16));
}

QByteArray localHeader(const QByteArray& name) {
    QByteArray h;
    put32(h, 0x04034b50);
    put16(h, 10);
    put16(h, 0);
    put16(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 0);
    put16(h, uint16_t(name.size()));
    put16(h, 0);
    return h + name;
}

QByteArray centralHeader(const QByteArray& name, uint32_t offset) {
    QByteArray h;
    put32(h, 0x02014b50);
    put16(h, 0x031E);
    put16(h, 10);
    put16(h, 0);
    put16(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 0);
    put16(h, uint16_t(name.size()));
    put16(h, 0);
    put16(h, 0);
    put16(h, 0);
    put16(h, 0);
    put32(h, 0);
    put32(h, offset);
    return h + name;
}

// Empty files named folder/file-NNNNN.txt.
QByteArray buildArchive(int entries) {
    QByteArray locals;
    QByteArray central;
    for (int i = 0; i < entries; ++i) {
        const QByteArray name =
            "folder" + QByteArray::number(i / 1000) + "/file-" + QByteArray::number(i) + ".txt";
        central += centralHeader(name, uint32_t(locals.size()));
        locals += localHeader(name);
    }
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, uint16_t(entries));
    put16(end, uint16_t(entries));
    put32(end, uint32_t(central.size()));
    put32(end, uint32_t(locals.size()));
    put16(end, 0);
    return locals + central + end;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int entries = args.size() > 1 ? args[1].toInt() : 65535;
    const int rounds = args.size() > 2 ? args[2].toInt() : 5;
    QTextStream out(stdout);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.zip"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(buildArchive(entries)) < 0) return 1;
    file.close();

    brx::TZipEngine engine;
    engine.setUnattended(true);
    qint64 best = -1;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        engine.setZipFileName(path); // runs List
        const qint64 ms = timer.elapsed();
        best = best < 0 ? ms : std::min(best, ms);
        out << "round " << round + 1 << ": " << engine.Count() << " entries in " << ms << " ms"
            << Qt::endl;
        if (engine.Count() != entries) return 1;
    }
    out << "best: " << best << " ms for " << entries << " entries" << Qt::endl;
    return 0;
}
