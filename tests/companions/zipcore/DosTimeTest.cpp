// DOS dates and times against the C library's own conversion, across the
// hours where a time zone changes its offset.
#include "zipcore/ZipFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

using namespace zipcore;

namespace {

std::time_t libraryTime(uint16_t date, uint16_t time) {
    std::tm local{};
    local.tm_year = ((date >> 9) & 0x7F) + 80;
    local.tm_mon = ((date >> 5) & 0x0F) - 1;
    local.tm_mday = date & 0x1F;
    local.tm_hour = (time >> 11) & 0x1F;
    local.tm_min = (time >> 5) & 0x3F;
    local.tm_sec = (time & 0x1F) * 2;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

uint16_t dosDate(int year, int month, int day) {
    return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

// Runs body in a new thread with TZ set, so no earlier conversion is remembered.
template <class Body>
void inTimeZone(const char* zone, Body body) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", zone, 1);
    ::tzset();
    std::thread(body).join();
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

} // namespace

TEST(DosTime, AgreesWithMktimeAroundDaylightSavingChanges) {
    inTimeZone("Europe/Paris", [] {
        // The last Sundays of March and October 2024, a day on each side,
        // and a plain winter day: every 2 s step of a few minutes in each hour.
        for (const uint16_t date :
             {dosDate(2024, 3, 30), dosDate(2024, 3, 31), dosDate(2024, 4, 1),
              dosDate(2024, 10, 26), dosDate(2024, 10, 27), dosDate(2024, 1, 15)}) {
            for (unsigned hour = 0; hour < 24; ++hour)
                for (unsigned minute : {0u, 1u, 29u, 59u})
                    for (unsigned half = 0; half < 30; half += 7) {
                        const auto time =
                            static_cast<uint16_t>((hour << 11) | (minute << 5) | half);
                        EXPECT_EQ(fromDosDateTime(date, time), libraryTime(date, time))
                            << "date " << date << " " << hour << ":" << minute << ":" << half * 2;
                    }
        }
    });
}

TEST(DosTime, RoundTripsAndRefusesImpossibleFields) {
    inTimeZone("Europe/Paris", [] {
        const uint16_t date = dosDate(2021, 7, 14);
        const auto time = static_cast<uint16_t>((13 << 11) | (45 << 5) | 29);
        const DosDateTime back = toDosDateTime(fromDosDateTime(date, time));
        EXPECT_EQ(back.date, date);
        EXPECT_EQ(back.time, time);
        EXPECT_EQ(fromDosDateTime(dosDate(2021, 13, 1), 0), -1);               // month 13
        EXPECT_EQ(fromDosDateTime(dosDate(2021, 5, 0), 0), -1);                // day 0
        EXPECT_EQ(fromDosDateTime(date, static_cast<uint16_t>(24 << 11)), -1); // hour 24
        EXPECT_EQ(fromDosDateTime(date, static_cast<uint16_t>((10 << 11) | (60 << 5))),
                  -1);                                                   // minute 60
        EXPECT_EQ(fromDosDateTime(date, static_cast<uint16_t>(30)), -1); // second 60
    });
}
