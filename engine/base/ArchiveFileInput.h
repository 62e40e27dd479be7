#pragma once
// An open archive file as the input of the ZIP format layer, so that the
// engine's readers share its one reading of every record.

#include "zipcore/ZipInput.h"

#include <QFile>

namespace brx {

class ArchiveFileInput : public zipcore::ZipInput {
public:
    explicit ArchiveFileInput(QFile& file) : m_file(file), m_size(uint64_t(file.size())) {}
    uint64_t size() const override { return m_size; }
    size_t readAt(uint64_t offset, void* dst, size_t n) override {
        if (offset >= m_size || !m_file.seek(qint64(offset))) return 0;
        const qint64 got = m_file.read(static_cast<char*>(dst), qint64(n));
        return got > 0 ? size_t(got) : 0;
    }

private:
    QFile& m_file;
    uint64_t m_size;
};

} // namespace brx
