#include "engine/ZipLibrary.h"

#include "engine/base/ZipMsg.h"

#include <brx/ZipDllAbi.h>

#include <QCoreApplication>
#include <QFileInfo>

#include <dlfcn.h>

namespace brx {

namespace {

// The file in folder when it exists there.
QString candidateIn(const QString& folder, const char* fileName) {
    if (folder.isEmpty()) return QString();
    const QString path = folder + QLatin1Char('/') + QLatin1String(fileName);
    return QFileInfo(path).isFile() ? path : QString();
}

QString programFolder() {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

} // namespace

ZipLibrary& ZipLibrary::compression() {
    static ZipLibrary library({BRX_ZIPDLL_FILE_NAME, BRX_ZIPDLL_EXEC_NAME, BRX_ZIPDLL_VERSION_NAME,
                               LZ_ZipDllLoaded, LZ_NoZipDllExec, LZ_NoZipDllVers, LZ_NoZipDll});
    return library;
}

ZipLibrary& ZipLibrary::decompression() {
    static ZipLibrary library({BRX_UNZDLL_FILE_NAME, BRX_UNZDLL_EXEC_NAME, BRX_UNZDLL_VERSION_NAME,
                               LU_UnzDllLoaded, LU_NoUnzDllExec, LU_NoUnzDllVers, LU_NoUnzDll});
    return library;
}

ZipLibrary::LoadResult ZipLibrary::load(const QString& dllDirectory) {
    if (isLoaded()) return {true, true, true};
    QString path = candidateIn(dllDirectory, m_names.fileName);
    if (path.isEmpty()) path = candidateIn(programFolder(), m_names.fileName);
    if (path.isEmpty()) path = QLatin1String(m_names.fileName); // the dynamic loader's own search
    m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) return {};
    m_loadedFrom = path;
    m_exec = dlsym(m_handle, m_names.execName);
    m_version = dlsym(m_handle, m_names.versionName);
    const LoadResult result{true, m_exec != nullptr, m_version != nullptr};
    if (!result.loaded()) unload(); // never called through a missing entry
    return result;
}

void ZipLibrary::unload() {
    if (m_handle) dlclose(m_handle);
    m_handle = nullptr;
    m_exec = nullptr;
    m_version = nullptr;
    m_loadedFrom.clear();
}

int ZipLibrary::version() const {
    if (!m_version) return 0;
    return reinterpret_cast<BrxGetZipDllVersionFn>(m_version)();
}

} // namespace brx
