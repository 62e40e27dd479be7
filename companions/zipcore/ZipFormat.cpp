#include "zipcore/ZipFormat.h"

#include <cstdint>

namespace zipcore {

namespace {

bool toLocalTime(std::time_t t, std::tm& out) {
#if defined(_WIN32)
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

// mktime reads the time zone again on every call (a stat of the zone file
// each time); the files of an archive share few distinct hours, so the
// start of each recent hour is remembered. Time zones change their offset
// on hour boundaries, so every second of an hour has the same offset.
struct HourStart {
    uint32_t key = UINT32_MAX;
    std::time_t start = 0;
};
constexpr size_t kHourCacheSize = 64;
thread_local HourStart t_hourCache[kHourCacheSize];

std::time_t startOfHour(uint16_t date, unsigned hour) {
    const uint32_t key = (uint32_t{date} << 5) | hour;
    HourStart& slot = t_hourCache[key % kHourCacheSize];
    if (slot.key != key) {
        std::tm local{};
        local.tm_year = ((date >> 9) & 0x7F) + 80;
        local.tm_mon = ((date >> 5) & 0x0F) - 1;
        local.tm_mday = date & 0x1F;
        local.tm_hour = static_cast<int>(hour);
        local.tm_isdst = -1;
        slot = {key, std::mktime(&local)};
    }
    return slot.start;
}

} // namespace

DosDateTime toDosDateTime(std::time_t t) {
    std::tm local{};
    if (!toLocalTime(t, local) || local.tm_year < 80)
        return DosDateTime{0, static_cast<uint16_t>((0 << 9) | (1 << 5) | 1)};
    if (local.tm_year > 207) // 2107 is the last year the field holds
        local = std::tm{59, 59, 23, 31, 11, 207};
    DosDateTime dos;
    dos.date = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) |
                                     local.tm_mday);
    dos.time =
        static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    return dos;
}

std::time_t fromDosDateTime(uint16_t date, uint16_t time) {
    const int month = (date >> 5) & 0x0F;
    const int day = date & 0x1F;
    const unsigned hour = (time >> 11) & 0x1F;
    const int minute = (time >> 5) & 0x3F;
    const int second = (time & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return -1;
    const std::time_t hourStart = startOfHour(date, hour);
    return hourStart == -1 ? -1 : hourStart + minute * 60 + second;
}

} // namespace zipcore
