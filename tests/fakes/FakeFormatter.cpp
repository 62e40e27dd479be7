#include "tests/fakes/FakeFormatter.h"

namespace brx {

bool FakeFormatter::formatVolume(const QString& root, const QString& label, QString* error) {
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append({root, label, QThread::currentThread()});
    }
    if (hold) {
        started.release();
        m_gate.acquire();
    }
    if (!succeed && error) *error = QStringLiteral("medium is write-protected");
    return succeed;
}

QList<FakeFormatCall> FakeFormatter::calls() const {
    QMutexLocker lock(&m_mutex);
    return m_calls;
}

} // namespace brx
