#include "ZipDllHarness.h"

#include "zipcore/ZipInput.h"
#include "zipcore/ZipReader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zipdlltest {

ZipDll::ZipDll() {
    const char* bin = std::getenv("BRX_BIN_DIR");
    const std::string path = std::string(bin ? bin : ".") + "/" + BRX_ZIPDLL_FILE_NAME;
    m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) return;
    m_exec = reinterpret_cast<BrxZipDllExecFn>(::dlsym(m_handle, BRX_ZIPDLL_EXEC_NAME));
    m_version = reinterpret_cast<BrxGetZipDllVersionFn>(::dlsym(m_handle, BRX_ZIPDLL_VERSION_NAME));
}

ZipDll::~ZipDll() {
    if (m_handle) ::dlclose(m_handle);
}

Command::Command(std::string archive) : m_archive(std::move(archive)) {
    m_record.caller = this;
    m_record.version = BRX_RECORD_VERSION;
    m_record.callback = &Command::callback;
    m_record.password = m_password;
    m_record.dirEntries = -1;
    m_record.verbose = 0;
    m_record.levelGiven = -1;
    m_record.level = 6;
    m_record.namesOnly = 0;
    m_record.adding = -1;
    m_record.check = BRX_RECORD_CHECK;
}

Command& Command::spec(std::string text) {
    m_specTexts.push_back(std::move(text));
    return *this;
}

Command& Command::exclude(std::string text) {
    m_excludeTexts.push_back(std::move(text));
    return *this;
}

Command& Command::password(const std::string& text) {
    std::memset(m_password, 0, sizeof m_password);
    std::memcpy(m_password, text.data(), std::min<size_t>(text.size(), BRX_PASSWORD_MAX_LENGTH));
    return *this;
}

Command& Command::comment(std::string text) {
    m_comment = std::move(text);
    m_record.comment = m_comment.c_str();
    return *this;
}

Command& Command::suffixes(std::string text) {
    m_suffixes = std::move(text);
    m_record.storeSuffixes = m_suffixes.c_str();
    return *this;
}

Command& Command::tempDir(std::string folder) {
    m_tempDir = std::move(folder);
    m_record.tempDir = m_tempDir.c_str();
    return *this;
}

int32_t Command::run(const ZipDll& dll) {
    reports.clear();
    m_progressSeen = 0;
    m_specs.assign(m_specTexts.size(), BrxZipFileSpec{});
    for (size_t i = 0; i < m_specTexts.size(); ++i) m_specs[i].spec = m_specTexts[i].c_str();
    m_excludes.clear();
    for (const std::string& text : m_excludeTexts) m_excludes.push_back(text.c_str());
    m_record.zipFileName = m_archive.c_str();
    m_record.specCount = static_cast<int32_t>(m_specs.size());
    m_record.specs = m_specs.data();
    m_record.excludeCount = static_cast<int32_t>(m_excludes.size());
    m_record.excludes = m_excludes.data();
    return dll.exec(m_record);
}

int32_t Command::callback(BrxCallbackRecord* record) {
    auto* self = static_cast<Command*>(record->caller);
    const int64_t size = (static_cast<int64_t>(record->sizeHigh) << 32) | record->sizeLow;
    self->reports.push_back(
        Report{record->actionCode, record->errorCode, size,
               std::string(record->text, strnlen(record->text, BRX_CALLBACK_TEXT_SIZE))});
    if (record->actionCode == BRX_ACTION_PASSWORD) {
        std::memset(record->text, 0, BRX_CALLBACK_TEXT_SIZE);
        std::memcpy(record->text, self->passwordAnswer.data(), self->passwordAnswer.size());
        record->errorCode =
            self->passwordAnswer.empty() ? BRX_PASSWORD_REPLY_NONE : BRX_PASSWORD_REPLY_GIVEN;
    }
    if (record->actionCode == BRX_ACTION_PROGRESS && self->stopAfterProgress >= 0 &&
        ++self->m_progressSeen > self->stopAfterProgress)
        return BRX_CALLBACK_STOP;
    return BRX_CALLBACK_GO_ON;
}

std::vector<Report> Command::of(int32_t action) const {
    std::vector<Report> out;
    for (const Report& report : reports)
        if (report.action == action) out.push_back(report);
    return out;
}

bool Command::hasMessage(int32_t code) const {
    for (const Report& report : reports)
        if (report.action == BRX_ACTION_MESSAGE && report.code == code) return true;
    return false;
}

std::string Command::messages() const {
    std::string out;
    for (const Report& report : of(BRX_ACTION_MESSAGE))
        out += std::to_string(report.code) + " " + report.text + "\n";
    return out;
}

Scratch::Scratch() {
    std::string pattern = (fs::temp_directory_path() / "zipdll-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    m_root = pattern;
}

Scratch::~Scratch() {
    std::error_code ignored;
    fs::permissions(m_root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_root, ignored);
}

fs::path Scratch::write(const std::string& relative, const std::string& content) const {
    const fs::path target = m_root / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << content;
    return target;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int runTool(const std::string& commandLine, std::string* output) {
    FILE* pipe = ::popen((commandLine + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buffer{};
    std::string text;
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void expectPeersAccept(const fs::path& archive, const std::string& password) {
    const std::string name = shellQuote(archive.string());
    const std::string unzipPassword = password.empty() ? "" : " -P " + shellQuote(password);
    std::string output;
    EXPECT_EQ(runTool("unzip -t" + unzipPassword + " " + name, &output), 0) << output;
    const std::string sevenPassword = " -p" + shellQuote(password);
    EXPECT_EQ(runTool("7zz t" + sevenPassword + " " + name, &output), 0) << output;
    const std::string python = "import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
                               "z.setpassword(sys.argv[2].encode()) if sys.argv[2] else None; "
                               "sys.exit(0 if z.testzip() is None else 1)";
    EXPECT_EQ(runTool("python3 -c " + shellQuote(python) + " " + name + " " + shellQuote(password),
                      &output),
              0)
        << output;
}

fs::path unzipInto(const Scratch& scratch, const fs::path& archive, const std::string& folder,
                   const std::string& password) {
    const fs::path target = scratch.path(folder);
    fs::create_directories(target);
    const std::string unzipPassword = password.empty() ? "" : " -P " + shellQuote(password);
    std::string output;
    EXPECT_EQ(runTool("unzip -o -q" + unzipPassword + " " + shellQuote(archive.string()) + " -d " +
                          shellQuote(target.string()),
                      &output),
              0)
        << output;
    return target;
}

std::string randomBytes(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(generator() & 0xFF);
    return out;
}

std::string textBytes(size_t size, unsigned seed) {
    static const char* words[] = {"archive ", "folder ",  "backup ", "entry ",
                                  "deflate ", "window\n", "zip ",    "42 "};
    std::mt19937 generator(seed);
    std::string out;
    while (out.size() < size) out += words[generator() % 8];
    out.resize(size);
    return out;
}

std::vector<std::string> entryNames(const fs::path& archive) {
    const std::string bytes = readFile(archive);
    zipcore::MemoryInput input(bytes.data(), bytes.size());
    zipcore::ZipDirectory directory;
    std::vector<std::string> names;
    if (!zipcore::readDirectory(input, directory).ok) return names;
    for (const zipcore::ZipEntry& entry : directory.entries) names.push_back(entry.name);
    return names;
}

} // namespace zipdlltest
