#pragma once
// The test side of the fake companion libraries: the same shared object the
// engine loads (dlopen hands back the same handle), driven through its
// Fake* functions.

#include <QString>
#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace brx::test {

struct FakeReplyValues {
    int action = 0, errorCode = 0, size = 0, result = 0;
    std::string text;
};

class FakeLibrary {
public:
    explicit FakeLibrary(const QString& path) {
        m_handle = dlopen(path.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) throw std::runtime_error(dlerror());
    }
    ~FakeLibrary() { dlclose(m_handle); }
    FakeLibrary(const FakeLibrary&) = delete;
    FakeLibrary& operator=(const FakeLibrary&) = delete;

    void reset(int version, int result = 1) {
        fn<void (*)(int, int)>("FakeReset")(version, result);
    }
    void queue(int code, int errorCode, int size, const char* text = "") {
        fn<void (*)(int, int, int, const char*)>("FakeQueueAction")(code, errorCode, size, text);
    }
    void queueWide(int code, long long size, const char* text = "") {
        fn<void (*)(int, long long, const char*)>("FakeQueueWideAction")(code, size, text);
    }
    int check() { return fn<int (*)()>("FakeCheck")(); }
    QString string(const char* key) {
        const char* s = fn<const char* (*)(const char*)>("FakeString")(key);
        return s ? QString::fromUtf8(s) : QStringLiteral("<none>");
    }
    long long field(const char* key) { return fn<long long (*)(const char*)>("FakeField")(key); }
    int replyCount() { return fn<int (*)()>("FakeReplyCount")(); }
    FakeReplyValues reply(int i) {
        int values[4] = {};
        char text[512] = {};
        fn<void (*)(int, int*, char*)>("FakeReply")(i, values, text);
        return {values[0], values[1], values[2], values[3],
                std::string(text, strnlen(text, sizeof text))};
    }

private:
    template <class F>
    F fn(const char* name) {
        void* symbol = dlsym(m_handle, name);
        if (!symbol) throw std::runtime_error(name);
        return reinterpret_cast<F>(symbol);
    }

    void* m_handle = nullptr;
};

} // namespace brx::test
