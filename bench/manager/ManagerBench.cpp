// Run by hand (never in CI), best on a real or virtual display:
//   manager_bench [ENTRIES] [MEGABYTES]
// 1. Opens an archive of ENTRIES entries (default 65,535) in the archive
//    manager and times it until the grid is filled, sorted and painted; then
//    times one refill (what a resize costs once the user stops dragging).
// 2. Adds MEGABYTES of files (default 200) through the window and reports the
//    longest time the event loop went without turning, and how often the
//    progress bar was painted meanwhile.

#include "archive_window/TMainForm.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace {

void put16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// The fields local and central headers share (stored entries, no data).
void commonFields(QByteArray& b, const QByteArray& name, uint32_t dosDateTime, uint32_t size) {
    put16(b, 10);
    put16(b, 0);
    put16(b, 0);
    put32(b, dosDateTime);
    put32(b, 0);
    put32(b, size);
    put32(b, size);
    put16(b, uint32_t(name.size()));
    put16(b, 0);
}

// A directory of varied names, folders, types, sizes and dates, as a real
// archive of many files has. Sizes are declared only: listing never reads data.
QByteArray buildArchive(int entries) {
    static const char* const types[] = {".txt", ".DOC", ".png", ".cpp", ".h", "", ".Zip"};
    QByteArray locals;
    QByteArray central;
    QRandomGenerator random(42);
    for (int i = 0; i < entries; ++i) {
        const QByteArray name = "projet/dossier" + QByteArray::number(random.bounded(300)) +
                                "/fichier-" + QByteArray::number(random.bounded(1000000)) +
                                types[i % 7];
        const uint32_t date = ((20 + random.bounded(20)) << 9) | ((1 + random.bounded(12)) << 5) |
                              (1 + random.bounded(28));
        const uint32_t time = (random.bounded(24) << 11) | (random.bounded(60) << 5);
        const uint32_t size = random.bounded(5000000);
        const uint32_t offset = uint32_t(locals.size());
        put32(locals, 0x04034b50);
        commonFields(locals, name, date << 16 | time, 0);
        locals += name;
        put32(central, 0x02014b50);
        put16(central, 0x031E);
        commonFields(central, name, date << 16 | time, size);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, offset);
        central += name;
    }
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, uint32_t(entries));
    put16(end, uint32_t(entries));
    put32(end, uint32_t(central.size()));
    put32(end, uint32_t(locals.size()));
    put16(end, 0);
    return locals + central + end;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Files of half text-like, half random bytes: the compressor has work to do
// and some of it compresses.
bool makeSourceFiles(const QString& folder, int megabytes) {
    QRandomGenerator random(7);
    QDir().mkpath(folder);
    const int fileMegabytes = 10;
    for (int done = 0, n = 0; done < megabytes; done += fileMegabytes, ++n) {
        QByteArray bytes;
        bytes.reserve(fileMegabytes << 20);
        while (bytes.size() < qsizetype(fileMegabytes) << 20) {
            if (random.bounded(2) == 0) {
                bytes += "ligne " + QByteArray::number(random.bounded(100000)) +
                         " du fichier de mesure, texte ordinaire\n";
            } else {
                QByteArray noise(64, Qt::Uninitialized);
                random.fillRange(reinterpret_cast<quint32*>(noise.data()), 16);
                bytes += noise;
            }
        }
        if (!writeFile(folder + QStringLiteral("/donnees-%1.bin").arg(n), bytes)) return false;
    }
    return true;
}

// Processor time of this thread: the machine is shared, so wall time alone
// says more about the neighbours than about the window.
qint64 cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

brx::TMainForm::Services services() {
    brx::TMainForm::Services s;
    s.dllDirectory = QCoreApplication::applicationDirPath();
    return s;
}

void benchOpening(const QString& dir, int entries, QTextStream& out) {
    const QString path = dir + QStringLiteral("/many.zip");
    if (!writeFile(path, buildArchive(entries))) return;
    QElapsedTimer timer;
    timer.start();
    qint64 cpu = cpuMs();
    brx::TMainForm form(QStringLiteral("-!") + path, services());
    const qint64 created = timer.elapsed();
    form.show();
    QApplication::processEvents();
    form.grid()->viewport()->repaint();
    out << "open: " << form.engine().Count() << " entries, " << form.grid()->RowCount()
        << " rows; created, listed, filled and sorted in " << created << " ms, painted at "
        << timer.elapsed() << " ms (" << cpuMs() - cpu << " ms of processor)" << Qt::endl;

    // Whatever the first showing still sets off (a refill for the resize of
    // the showing would freeze the freshly shown window).
    cpu = cpuMs();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    out << "the 500 ms after showing: " << cpuMs() - cpu << " ms of processor" << Qt::endl;

    timer.restart();
    cpu = cpuMs();
    form.FillGrid();
    form.grid()->viewport()->repaint();
    out << "one refill (as after a resize): " << timer.elapsed() << " ms (" << cpuMs() - cpu
        << " ms of processor)" << Qt::endl;
}

void benchAdding(const QString& dir, int megabytes, QTextStream& out) {
    const QString source = dir + QStringLiteral("/source");
    if (!makeSourceFiles(source, megabytes)) return;
    brx::TMainForm form(QStringLiteral("-!") + dir + QStringLiteral("/ajout.zip"), services());
    // Additions start from their own page, where the progress bar is.
    form.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
        ->setCurrentWidget(form.findChild<QWidget*>(QStringLiteral("TabSheet1")));
    form.show();
    QApplication::processEvents();

    // A timer that fires whenever the event loop turns: the longest gap
    // between two of its ticks is the longest stall the user sees.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    qint64 longestEnd = 0;
    qint64 overGoal = 0; // stalls longer than 100 ms
    qint64 ticks = 0;
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (now - last > 100) ++overGoal;
        if (now - last > longest) {
            longest = now - last;
            longestEnd = now;
        }
        last = now;
        ++ticks;
    });
    int barPaints = 0;
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++*count;
            return false;
        }
    } counter(&barPaints);
    bar->installEventFilter(&counter);

    clock.start();
    heartbeat.start();
    form.Add(source + QStringLiteral("/*.*"));
    const qint64 total = clock.elapsed();
    if (total - last > longest) {
        longest = total - last;
        longestEnd = total;
    }
    heartbeat.stop();
    out << "add: " << megabytes << " MB in " << form.engine().Count() << " files took " << total
        << " ms; longest event-loop stall " << longest << " ms (ending at " << longestEnd
        << " ms), " << overGoal << " stalls over 100 ms, " << ticks
        << " turns; progress bar painted " << barPaints << " times" << Qt::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int entries = args.size() > 1 ? args[1].toInt() : 65535;
    const int megabytes = args.size() > 2 ? args[2].toInt() : 200;
    QTextStream out(stdout);
    QTemporaryDir dir;
    brx::setSettingsFilePath(dir.filePath(QStringLiteral("BRX_EXPL.INI")));
    benchOpening(dir.path(), entries, out);
    benchAdding(dir.path(), megabytes, out);
    return 0;
}
