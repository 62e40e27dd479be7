#include "engine/span/SpanTable.h"

namespace brx {

void SpanTable::append(const QByteArray& name, uint32_t compressedSize) {
    m_rows.append(SpanTableRow{name, compressedSize, -1, 0});
}

int SpanTable::findUnplaced(const QByteArray& name) const {
    for (int i = 0; i < size(); ++i)
        if (m_rows[i].volume < 0 && nameMatches(i, name)) return i;
    return -1;
}

bool SpanTable::nameMatches(int i, const QByteArray& name) const {
    return m_rows[i].name.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace brx
