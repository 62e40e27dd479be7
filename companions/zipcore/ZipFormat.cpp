#include "zipcore/ZipFormat.h"

namespace zipcore {

namespace {

bool toLocalTime(std::time_t t, std::tm& out)
{
#if defined(_WIN32)
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

} // namespace

DosDateTime toDosDateTime(std::time_t t)
{
    std::tm local{};
    if (!toLocalTime(t, local) || local.tm_year < 80)
        return DosDateTime{0, static_cast<uint16_t>((0 << 9) | (1 << 5) | 1)};
    if (local.tm_year > 207) // 2107 is the last year the field holds
        local = std::tm{59, 59, 23, 31, 11, 207};
    DosDateTime dos;
    dos.date = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    dos.time = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    return dos;
}

std::time_t fromDosDateTime(uint16_t date, uint16_t time)
{
    std::tm local{};
    local.tm_year = ((date >> 9) & 0x7F) + 80;
    local.tm_mon = ((date >> 5) & 0x0F) - 1;
    local.tm_mday = date & 0x1F;
    local.tm_hour = (time >> 11) & 0x1F;
    local.tm_min = (time >> 5) & 0x3F;
    local.tm_sec = (time & 0x1F) * 2;
    local.tm_isdst = -1;
    if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 || local.tm_min > 59
        || local.tm_sec > 59)
        return -1;
    return std::mktime(&local);
}

} // namespace zipcore
