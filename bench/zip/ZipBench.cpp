// zipdll_bench add ARCHIVE FOLDER LEVEL | extract ARCHIVE DEST | test ARCHIVE
// Loads the libraries from BRX_BIN_DIR (or beside this program's build).
#include "brx/ZipDllAbi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

int32_t printMessages(BrxCallbackRecord* record) {
    if (record->actionCode == BRX_ACTION_MESSAGE && record->errorCode != 0)
        std::fprintf(stderr, "%d %s\n", record->errorCode, record->text);
    return BRX_CALLBACK_GO_ON;
}

void* load(const char* name) {
    const char* bin = std::getenv("BRX_BIN_DIR");
    const std::string path = std::string(bin ? bin : ".") + "/" + name;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW);
    if (!handle) std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), ::dlerror());
    return handle;
}

int add(const char* archive, const char* folder, int level) {
    void* handle = load(BRX_ZIPDLL_FILE_NAME);
    if (!handle) return 2;
    auto exec = reinterpret_cast<BrxZipDllExecFn>(::dlsym(handle, BRX_ZIPDLL_EXEC_NAME));
    const std::string spec = std::string(folder) + "/*.*";
    BrxZipFileSpec specs[1] = {};
    specs[0].spec = spec.c_str();
    char password[BRX_PASSWORD_BUFFER_SIZE] = {};
    BrxZipCommandRecord record{};
    record.version = BRX_RECORD_VERSION;
    record.callback = printMessages;
    record.password = password;
    record.dirEntries = -1;
    record.levelGiven = -1;
    record.level = level;
    record.recurse = -1;
    record.hiddenFiles = -1;
    record.adding = -1;
    record.specCount = 1;
    record.zipFileName = archive;
    record.specs = specs;
    record.check = BRX_RECORD_CHECK;
    const int32_t count = exec(&record);
    std::printf("%d entries added\n", count);
    ::dlclose(handle);
    return count > 0 ? 0 : 1;
}

int extract(const char* archive, const char* dest, bool testOnly) {
    void* handle = load(BRX_UNZDLL_FILE_NAME);
    if (!handle) return 2;
    auto exec = reinterpret_cast<BrxUnzDllExecFn>(::dlsym(handle, BRX_UNZDLL_EXEC_NAME));
    if (dest && ::chdir(dest) != 0) return 2;
    char password[1] = {};
    BrxUnzCommandRecord record{};
    record.version = BRX_RECORD_VERSION;
    record.callback = printMessages;
    record.password = password;
    record.test = testOnly ? -1 : 0;
    record.always40 = -1;
    record.dirNames = -1;
    record.overwrite = -1;
    record.zipFileName = archive;
    record.check = BRX_RECORD_CHECK;
    const int32_t count = exec(&record);
    std::printf("%d entries %s\n", count, testOnly ? "tested" : "extracted");
    ::dlclose(handle);
    return count > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "add") == 0)
        return add(argv[2], argv[3], std::atoi(argv[4]));
    if (argc == 4 && std::strcmp(argv[1], "extract") == 0) return extract(argv[2], argv[3], false);
    if (argc == 3 && std::strcmp(argv[1], "test") == 0) return extract(argv[2], nullptr, true);
    std::fprintf(
        stderr,
        "usage: zipdll_bench add ARCHIVE FOLDER LEVEL | extract ARCHIVE DEST | test ARCHIVE\n");
    return 2;
}
