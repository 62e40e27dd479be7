#pragma once
// How names and comments inside archives are decoded (the rule itself lives
// in the ZIP format layer, shared with the libraries and the stub).

#include "zipcore/EntryName.h"

namespace brx {

enum TCodePageMode {
    cpAuto,
    cpNone,
    cpOEM
};

inline zipcore::CodePageMode toFormatMode(TCodePageMode mode) {
    return mode == cpOEM    ? zipcore::CodePageMode::Oem
           : mode == cpNone ? zipcore::CodePageMode::None
                            : zipcore::CodePageMode::Auto;
}

} // namespace brx
