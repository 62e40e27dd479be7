#pragma once
// The worker thread of one disk format: runs the formatter so that the GUI
// thread keeps processing events. Lives for one disk.

#include <QAtomicInt>
#include <QString>
#include <QThread>

namespace brx {

class IFormatter;

class FormatThread final : public QThread {
    Q_OBJECT
public:
    enum Indicator {
        Waiting = 0,
        DialogFound = 1,
        Finished = 2
    };

    FormatThread(IFormatter& formatter, const QString& driveRoot, const QString& volumeLabel);

    // A thread told to stop before it starts ends at once with result -1.
    void tellToStop() { m_stop.storeRelease(1); }
    bool toldToStop() const { return m_stop.loadAcquire() != 0; }

    // -3 until the thread ran; then the format result (0 done, -1 error).
    int result() const { return m_result.loadAcquire(); }
    QString errorText() const { return m_error; } // read after the thread finished
    int indicator() const { return m_indicator.loadAcquire(); }
    void setDialogFound() { m_indicator.testAndSetOrdered(Waiting, DialogFound); }

protected:
    void run() override;

private:
    IFormatter& m_formatter;
    const QString m_driveRoot;
    const QString m_volumeLabel;
    QString m_error;
    QAtomicInt m_stop{0};
    QAtomicInt m_result{-3};
    QAtomicInt m_indicator{Waiting};
};

} // namespace brx
