#include "engine/base/EZipEngine.h"

namespace brx {

EZipEngine::EZipEngine(int id, bool displayMessage)
    : m_displayMessage(displayMessage)
    , m_resourceId(id) {
    setMessage(LoadZipStr(id));
}

EZipEngine::EZipEngine(int id, int value) : EZipEngine(id, QVariantList{value}) {}

EZipEngine::EZipEngine(int id, const QString& value) : EZipEngine(id, QVariantList{value}) {}

EZipEngine::EZipEngine(int id, const QVariantList& values) : EZipEngine(id, values, true) {}

EZipEngine::EZipEngine(int id, const QVariantList& values, bool displayMessage)
    : m_displayMessage(displayMessage)
    , m_resourceId(id) {
    setMessage(formatZipStr(id, values));
}

EZipEngine EZipEngine::withDetail(int id, const QString& detail) {
    EZipEngine e(id, true);
    e.setMessage(e.m_message + detail);
    return e;
}

void EZipEngine::setMessage(const QString& message) {
    m_message = message;
    m_what = message.toUtf8();
}

} // namespace brx
