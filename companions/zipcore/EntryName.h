#pragma once
// The text of entry names, entry comments and archive comments as UTF-8,
// decoded the same way by every reader of the program:
// 1. a name flagged UTF-8 (general purpose bit 11) is UTF-8;
// 2. a name with a Unicode path extra field (0x7075) made for the stored
//    name takes the field's UTF-8 name;
// 3. otherwise the code-page rule: text from MS-DOS hosts (0), OS/2 (6) and
//    NTFS written by a version 5.0 tool (11) is in the OEM code page, here
//    IBM code page 850; text from any other host is taken as it stands:
//    UTF-8 when it is valid UTF-8, else one byte per character (Latin-1),
//    so that no byte is ever lost.

#include "zipcore/ZipReader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zipcore {

// Auto: the rule above. None: the host-0 case is taken as it stands. Oem:
// every name is in the OEM code page.
enum class CodePageMode {
    Auto,
    None,
    Oem
};

std::string entryNameUtf8(const ZipEntry& entry, CodePageMode mode = CodePageMode::Auto);
std::string entryCommentUtf8(const ZipEntry& entry, CodePageMode mode = CodePageMode::Auto);

// The code-page rule alone; versionMadeBy is the whole 16-bit field (the
// archive comment takes the one of the central header read last).
std::string archiveTextUtf8(std::string_view bytes, bool utf8Flag, uint16_t versionMadeBy,
                            CodePageMode mode = CodePageMode::Auto);
bool isOemText(uint16_t versionMadeBy, CodePageMode mode);

std::string cp850ToUtf8(std::string_view text);
std::string latin1ToUtf8(std::string_view text);
bool isValidUtf8(std::string_view text);

} // namespace zipcore
