#include "UnzOptions.h"

#include <cstring>

namespace unzdll {

bool readOptions(const BrxUnzCommandRecord& record, UnzOptions& options) {
    if (record.check != BRX_RECORD_CHECK || !record.zipFileName || record.specCount < 0 ||
        (record.specCount > 0 && !record.specs))
        return false;
    options.archive = record.zipFileName;
    for (int32_t i = 0; i < record.specCount; ++i)
        if (record.specs[i].spec && *record.specs[i].spec)
            options.specs.emplace_back(record.specs[i].spec);
    if (record.password)
        options.password.assign(record.password,
                                brxPasswordBytes(record.password, std::strlen(record.password)));
    options.test = record.test != 0;
    options.update = record.update != 0;
    options.freshen = record.freshen != 0 && !options.update;
    options.dirNames = record.dirNames != 0;
    options.overwrite = record.overwrite != 0;
    const int32_t requests = record.version >= BRX_RECORD_V160_FIELDS ? record.passwordReqCount : 1;
    options.passwordRequests = requests < 0                         ? 0
                               : requests > BRX_PASSWORD_MAX_REPEAT ? BRX_PASSWORD_MAX_REPEAT
                                                                    : requests;
    return true;
}

} // namespace unzdll
