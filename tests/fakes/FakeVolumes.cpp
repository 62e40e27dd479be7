#include "tests/fakes/FakeVolumes.h"

namespace brx {

FakeVolumes::FakeVolumes() {
    m_volumes.insert(QStringLiteral("/"), FakeVolume{});
}

void FakeVolumes::setVolume(const QString& root, const FakeVolume& volume) {
    m_volumes.insert(root, volume);
}

void FakeVolumes::removeVolume(const QString& root) {
    m_volumes.remove(root);
}

FakeVolume* FakeVolumes::volume(const QString& root) {
    auto it = m_volumes.find(root);
    return it == m_volumes.end() ? nullptr : &it.value();
}

QStringList FakeVolumes::mountPoints() const {
    return m_volumes.keys(); // QMap keeps them sorted, "/" first
}

QStringList FakeVolumes::volumeRoots() const {
    QStringList roots{QStringLiteral("/")};
    if (!roots.contains(m_home)) roots.append(m_home);
    for (const QString& root : m_volumes.keys())
        if (!roots.contains(root)) roots.append(root);
    return roots;
}

QString FakeVolumes::volumeRootOf(const QString& path) const {
    const QString withSlash = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    QString best = QStringLiteral("/");
    for (const QString& root : m_volumes.keys())
        if (withSlash.startsWith(root) && root.size() > best.size()) best = root;
    return best;
}

DriveType FakeVolumes::driveType(const QString& root) const {
    const auto it = m_volumes.find(root);
    return it == m_volumes.end() ? DriveType::NotMounted : it->type;
}

QString FakeVolumes::volumeLabel(const QString& root) const {
    return m_volumes.value(root).label;
}

bool FakeVolumes::setVolumeLabel(const QString& root, const QString& label) {
    auto it = m_volumes.find(root);
    if (it == m_volumes.end() || !it->labelWritable) return false;
    it->label = label;
    return true;
}

qint64 FakeVolumes::freeSpace(const QString& root) const {
    const auto it = m_volumes.find(root);
    return it == m_volumes.end() ? -1 : it->freeBytes;
}

qint64 FakeVolumes::capacity(const QString& root) const {
    const auto it = m_volumes.find(root);
    return it == m_volumes.end() ? -1 : it->capacityBytes;
}

} // namespace brx
