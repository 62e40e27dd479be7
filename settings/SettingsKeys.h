#pragma once
// Every section, key and default of the settings file, in one place.

#include <QString>

namespace brx::settings {

struct BoolKey {
    const char* section;
    const char* key;
    bool defaultValue;
};
struct IntKey {
    const char* section;
    const char* key;
    int defaultValue;
};
struct StringKey {
    const char* section;
    const char* key;
    const char* defaultValue;
};

inline constexpr const char* kExplo = "explo";
inline constexpr const char* kGeneral = "general";
inline constexpr const char* kDiv = "div";

// Section "explo": archive manager window (geometry and columns) and backup options.
inline constexpr IntKey kTop{kExplo, "top", 0};
inline constexpr IntKey kLeft{kExplo, "left", 0};
inline constexpr IntKey kWidth{kExplo, "width", 0};
inline constexpr BoolKey kHideColumnAfter{kExplo, "ma", false};  // column "Après"
inline constexpr BoolKey kHideColumnBefore{kExplo, "mb", false}; // column "Avant"
inline constexpr BoolKey kHideColumnRatio{kExplo, "mt", false};  // column "%"
inline constexpr BoolKey kHideColumnDate{kExplo, "md", false};   // column "Date"
inline constexpr BoolKey kAlwaysOnTop{kExplo, "ftop", true};
inline constexpr BoolKey kExploreAfterExtract{kExplo, "exploextr", false};
inline constexpr BoolKey kCountMessageAfterExtract{kExplo, "msgextr", true};
inline constexpr IntKey kLevel{kExplo, "level", 1}; // shared by both windows, 1-9
inline constexpr BoolKey kMakeSfx{kExplo, "sfx", false};
inline constexpr BoolKey kSubDirs{kExplo, "subdir", true};
inline constexpr BoolKey kStorePaths{kExplo, "storepath", true};
inline constexpr BoolKey kUsePassword{kExplo, "pass", false};
inline constexpr BoolKey kUpdateArchive{kExplo, "update", false};
inline constexpr BoolKey kDatePrefix{kExplo, "date", true};
inline constexpr BoolKey kEjectAtEnd{kExplo, "eject", false};
inline constexpr BoolKey kCloseAfterBackup{kExplo, "close", false};

// Section "general".
inline constexpr BoolKey kDayBeforeMonth{kGeneral, "dm", true};
inline constexpr BoolKey kShowHints{kGeneral, "vhint", true};
inline constexpr IntKey kTimeoutSeconds{kGeneral, "timeoutsec", 20};

// Section "div": the stored password, enciphered as hexadecimal text.
inline constexpr StringKey kStoredPassword{kDiv, "dateinstall", ""};

// History sections and the item used when a section is empty (nullptr: none).
struct HistorySection {
    const char* section;
    const char* defaultItem;
};
// The extraction destination's default is the user's home folder on this
// platform; the history operations receive it from the window.
inline constexpr HistorySection kHistoryExtrDir{"HistoryExtrDir", nullptr};
inline constexpr HistorySection kHistoryDefExtrDir{"HistoryDefExtrDir", "Dossier TEMP utilisateur"};
inline constexpr HistorySection kHistoryTitles{"titres", "Installation de mon programme"};
inline constexpr HistorySection kHistoryStorageDir{"HistoryShelDir", nullptr};
inline constexpr HistorySection kHistoryFilter{"HWC", nullptr};

inline constexpr const char* kHistoryLastKey = "last";
inline constexpr const char* kHistoryItemPrefix = "n";

} // namespace brx::settings

#include "settings/PrivateProfile.h"

namespace brx::settings {

inline bool read(const PrivateProfile& file, const BoolKey& k) {
    return file.readBool(QString::fromLatin1(k.section), QString::fromLatin1(k.key),
                         k.defaultValue);
}
inline int read(const PrivateProfile& file, const IntKey& k) {
    return file.readInt(QString::fromLatin1(k.section), QString::fromLatin1(k.key), k.defaultValue);
}
inline QString read(const PrivateProfile& file, const StringKey& k) {
    return file.readString(QString::fromLatin1(k.section), QString::fromLatin1(k.key),
                           QString::fromUtf8(k.defaultValue));
}
inline void write(PrivateProfile& file, const BoolKey& k, bool value) {
    file.writeBool(QString::fromLatin1(k.section), QString::fromLatin1(k.key), value);
}
inline void write(PrivateProfile& file, const IntKey& k, int value) {
    file.writeInt(QString::fromLatin1(k.section), QString::fromLatin1(k.key), value);
}
inline void write(PrivateProfile& file, const StringKey& k, const QString& value) {
    file.writeString(QString::fromLatin1(k.section), QString::fromLatin1(k.key), value);
}

} // namespace brx::settings
