#include "engine/ZipEngine.h"

#include "engine/UnattendedHost.h"
#include "platform/Volumes.h"

#include <QCoreApplication>

namespace brx {

namespace {

constexpr int kMaxPasswordLength = 255;
constexpr unsigned kMaxPasswordReqCount = 15;

} // namespace

void UnattendedHost::processEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

UnattendedHost& UnattendedHost::instance() {
    static UnattendedHost host;
    return host;
}

TZipEngine::TZipEngine(IUserHost* host, IVolumes* volumes)
    : m_host(host ? host : &UnattendedHost::instance())
    , m_volumes(volumes ? volumes : &systemVolumes())
    , m_addStoreSuffixes(AddStoreExts::fromInt((1u << kAddStoreSuffixCount) - 1) &
                         ~AddStoreExts(assEXE)) {
    m_messages.observe([this](bool library, int idOrCode, const QString& text) {
        if (library)
            m_outcome.noteLibraryMessage(idOrCode, text);
        else
            m_outcome.noteEngineMessage(idOrCode, text);
    });
}

// The libraries stay loaded: the windows unload them when they close.
TZipEngine::~TZipEngine() = default;

void TZipEngine::setHost(IUserHost* host) {
    m_host = host ? host : &UnattendedHost::instance();
}

void TZipEngine::setZipFileName(const QString& name) {
    m_zipFileName = name;
    List();
}

void TZipEngine::setPassword(const QString& password) {
    m_password = password.left(kMaxPasswordLength);
}

void TZipEngine::setPasswordReqCount(unsigned count) {
    m_passwordReqCount = qMin(count, kMaxPasswordReqCount);
}

void TZipEngine::setDLLDirectory(const QString& dir) {
    if (dir == m_dllDirectory) return;
    m_dllDirectory = dir;
    if (m_dllDirectory.size() > 1 && m_dllDirectory.endsWith(QLatin1Char('/')))
        m_dllDirectory.chop(1);
}

int TZipEngine::Count() const {
    return m_zipFileName.isEmpty() ? 0 : int(m_reader.entries().size());
}

} // namespace brx
