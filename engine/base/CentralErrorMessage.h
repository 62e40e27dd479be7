#pragma once
// The engine message for a central directory that the format layer refused,
// shared by every part of the engine that walks a directory itself.

#include "engine/base/ZipMsg.h"
#include "zipcore/CentralDirectory.h"

namespace brx {

inline int centralErrorMessageId(zipcore::CentralError error) {
    switch (error) {
    case zipcore::CentralError::TruncatedHeader:
        return DS_CEHBadRead;
    case zipcore::CentralError::BadSignature:
        return DS_CEHWrongSig;
    case zipcore::CentralError::TruncatedName:
        return DS_CENameLen;
    case zipcore::CentralError::TruncatedExtra:
        return DS_CEExtraLen;
    case zipcore::CentralError::TruncatedComment:
        return DS_CECommentLen;
    case zipcore::CentralError::CountMismatch:
    case zipcore::CentralError::None:
        break;
    }
    return DS_NoValidZip;
}

} // namespace brx
