#include "OutputFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <random>
#include <vector>

namespace unzdll {

namespace {

std::string parentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every folder on the way to path, outermost first.
std::vector<std::string> foldersOnTheWay(const std::string& path) {
    std::vector<std::string> folders;
    for (size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        folders.push_back(path.substr(0, slash));
    return folders;
}

// Six letters or digits nobody can predict, as mkstemp would use: a name
// guessed in advance by someone sharing the folder could only make the
// exclusive create fail, but that should not be left to chance either.
std::string randomSuffix() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    uint64_t bits = generator();
    std::string suffix(6, ' ');
    for (char& c : suffix) {
        c = kAlphabet[bits % 62];
        bits /= 62;
    }
    return suffix;
}

std::string tempPathBeside(const std::string& path) {
    const std::string parent = parentOf(path);
    return (parent.empty() ? std::string() : parent + "/") + ".brx-unz-" +
           baseOf(path).substr(0, 200) + ".XXXXXX";
}

} // namespace

std::string systemErrorText(int error) {
    if (error == ENOSPC) return "disk full";
    if (error == EACCES || error == EPERM) return "permission denied";
    return std::strerror(error);
}

OutputFolder::OutputFolder() {
    m_umask = ::umask(022);
    ::umask(m_umask);
}

// A folder is only remembered after every folder above it was, so a known
// parent vouches for the whole way: files of one folder come in runs and
// skip the walk.
WayStatus OutputFolder::checkWay(const std::string& path, std::string& detail) {
    if (const std::string parent = parentOf(path); parent.empty() || m_knownFolders.count(parent))
        return WayStatus::Clear;
    for (const std::string& folder : foldersOnTheWay(path)) {
        if (m_knownFolders.count(folder)) continue;
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0)
            return WayStatus::Clear; // missing from here on: makeFolders creates real folders
        detail = folder;
        if (S_ISLNK(info.st_mode)) return WayStatus::ThroughLink;
        if (!S_ISDIR(info.st_mode)) return WayStatus::Blocked;
        m_knownFolders.insert(folder);
    }
    return WayStatus::Clear;
}

bool OutputFolder::makeFolders(const std::string& path, std::string& error) {
    if (path.empty() || m_knownFolders.count(path)) return true;
    std::vector<std::string> folders = foldersOnTheWay(path);
    if (!path.empty()) folders.push_back(path);
    for (const std::string& folder : folders) {
        if (m_knownFolders.count(folder)) continue;
        if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
            error = folder + ": " + systemErrorText(errno);
            return false;
        }
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            error = folder + ": not a folder";
            return false;
        }
        m_knownFolders.insert(folder);
    }
    return true;
}

ExistingTarget OutputFolder::inspect(const std::string& path) const {
    ExistingTarget target;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return target;
    target.exists = true;
    target.isDirectory = S_ISDIR(info.st_mode);
    target.modified = info.st_mtime;
    return target;
}

bool OutputFolder::setFolderAttributes(const std::string& path, unsigned mode,
                                       std::time_t modified) {
    bool ok = mode == 0 || ::chmod(path.c_str(), (mode & 0777) | 0700) == 0;
    if (modified > 0) {
        const timespec times[2] = {{0, UTIME_OMIT}, {modified, 0}};
        ok = ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 && ok;
    }
    return ok;
}

bool OutputFolder::createLink(const std::string& path, const std::string& target,
                              std::string& error) {
    // Made under a unique name, then renamed: rename replaces an old link
    // or file itself and never follows it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = tempPathBeside(path);
        temp.replace(temp.size() - 6, 6,
                     std::to_string(::getpid()) + "-" + std::to_string(attempt));
        if (::symlink(target.c_str(), temp.c_str()) != 0) {
            if (errno == EEXIST) continue;
            error = path + ": " + systemErrorText(errno);
            return false;
        }
        if (::rename(temp.c_str(), path.c_str()) != 0) {
            error = path + ": " + systemErrorText(errno);
            ::unlink(temp.c_str());
            return false;
        }
        return true;
    }
    error = path + ": no free temporary name";
    return false;
}

bool OutputFile::open(const std::string& path, unsigned mode, std::string& error) {
    abandon();
    // Created with its final permission bits, so the common modes need no
    // chmod afterwards; the descriptor is writable whatever they are.
    const std::string prefix = tempPathBeside(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = prefix;
        temp.replace(temp.size() - 6, 6, randomSuffix());
        m_file.reset(
            ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode & 0777));
        if (m_file.isOpen()) {
            m_tempPath = std::move(temp);
            m_finalPath = path;
            m_mode = mode & 07777;
            return true;
        }
        if (errno != EEXIST) break;
    }
    error = path + ": " +
            (errno == EEXIST ? std::string("no free temporary name") : systemErrorText(errno));
    return false;
}

bool OutputFile::write(const unsigned char* data, size_t size, std::string& error) {
    while (size > 0) {
        const ssize_t done = ::write(m_file.get(), data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            error = m_finalPath + ": " + systemErrorText(done < 0 ? errno : ENOSPC);
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

bool OutputFile::commit(std::time_t modified, std::string& error) {
    if (m_mode != (m_mode & 0777 & ~m_umask)) // special bits, or bits the umask took away
        ::fchmod(m_file.get(), m_mode);
    if (modified > 0) {
        const timespec times[2] = {{0, UTIME_NOW}, {modified, 0}};
        ::futimens(m_file.get(), times);
    }
    if (!m_file.close() || ::rename(m_tempPath.c_str(), m_finalPath.c_str()) != 0) {
        error = m_finalPath + ": " + systemErrorText(errno);
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    m_tempPath.clear();
    return true;
}

void OutputFile::abandon() {
    m_file.reset();
    if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
}

} // namespace unzdll
