#pragma once
// One row per entry of the set, in central-directory order: where its local
// header landed (volume and offset there) and its sizes.

#include <QByteArray>
#include <QList>

#include <cstdint>

namespace brx {

struct SpanTableRow {
    QByteArray name;
    uint32_t compressedSize = 0;
    int volume = -1; // -1 until its local header was copied
    uint32_t offset = 0;
};

class SpanTable {
public:
    void append(const QByteArray& name, uint32_t compressedSize);
    int size() const { return static_cast<int>(m_rows.size()); }
    SpanTableRow& at(int i) { return m_rows[i]; }

    // The first row named name (case-insensitive) whose local header was not
    // copied yet; -1 when there is none.
    int findUnplaced(const QByteArray& name) const;
    // True when row i carries name (case-insensitive).
    bool nameMatches(int i, const QByteArray& name) const;

private:
    QList<SpanTableRow> m_rows;
};

} // namespace brx
