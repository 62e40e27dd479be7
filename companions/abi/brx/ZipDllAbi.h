/*
 * The C interface between the archive engine and the two compression
 * libraries ZIPDLL.DLL (adding, updating, deleting) and UNZDLL.DLL
 * (extracting, testing).
 *
 * The engine fills one command record per call and hands it to the
 * library's execute entry point; during that call the library reports
 * progress and asks questions through the callback record. Everything
 * here is plain C so that the engine (C++), the libraries and tests
 * share one declaration.
 *
 * Layout: the records below are laid out for a 32-bit target exactly as
 * their offsets say (asserted at the end of this file). On a 64-bit target
 * the pointer fields widen to 8 bytes and take natural alignment; the
 * engine and the libraries are always built from this same header, so the
 * widened layout is the one both sides use (also asserted below).
 *
 * Flags hold -1 for true and 0 for false unless said otherwise. Records
 * are zero-filled by the engine; every field named reserved* stays 0.
 * Strings are NUL-terminated UTF-8 owned by the engine for the call.
 */
#ifndef BRX_ZIPDLLABI_H
#define BRX_ZIPDLLABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- versions and fixed values ---------------------------------------- */

/* Version reported by GetZipDllVersion/GetUnzDllVersion (1.60 x 100). */
#define BRX_DLL_VERSION 160
/* Interface version the engine writes into every command record. */
#define BRX_RECORD_VERSION 160
/* First library versions that take the short records below. */
#define BRX_ZIP_SHORT_RECORD_VERSION 151
#define BRX_UNZ_SHORT_RECORD_VERSION 152
/* First version that reads the fields marked "160 and later". */
#define BRX_RECORD_V160_FIELDS 160
/* Value of the check field closing every command record. */
#define BRX_RECORD_CHECK 7
/* Room for pattern pointers in the old (long) records. */
#define BRX_OLD_RECORD_MAX_SPECS 4097
/* A password is at most 80 characters of UTF-8 text, so at most 320 bytes;
 * the compression record's buffer holds that and its NUL. Every side cuts a
 * longer password with brxPasswordBytes below, never inside a character. */
#define BRX_PASSWORD_MAX_LENGTH 80
#define BRX_PASSWORD_MAX_BYTES (4 * BRX_PASSWORD_MAX_LENGTH)
#define BRX_PASSWORD_BUFFER_SIZE (BRX_PASSWORD_MAX_BYTES + 1)
/* Text field of the callback record. */
#define BRX_CALLBACK_TEXT_SIZE 512

/* Exported entry point names, for dlsym/QLibrary::resolve. */
#define BRX_ZIPDLL_FILE_NAME "ZIPDLL.DLL"
#define BRX_UNZDLL_FILE_NAME "UNZDLL.DLL"
#define BRX_ZIPDLL_EXEC_NAME "ZipDllExec"
#define BRX_ZIPDLL_VERSION_NAME "GetZipDllVersion"
#define BRX_UNZDLL_EXEC_NAME "UnzDllExec"
#define BRX_UNZDLL_VERSION_NAME "GetUnzDllVersion"

/* ---- callback record ---------------------------------------------------- */

/* Written by the library, passed by pointer to the engine's callback; the
 * engine writes its replies into errorCode, size and text. */
typedef struct BrxCallbackRecord {
    void* ownerWindow;  /*  0: owner window from the command record (not read by the engine) */
    void* caller;       /*  4: caller from the command record, unchanged */
    int32_t version;    /*  8: library version (not read by the engine) */
    int32_t reserved12; /* 12 */
    int32_t actionCode; /* 16: BrxCallbackAction */
    int32_t errorCode;  /* 20: message code or flags per action; reply field */
    int32_t size;       /* 24: size or count per action; reply field */
    char text[BRX_CALLBACK_TEXT_SIZE]; /* 28: file name or message; reply field */
    /* Additions after the fixed part (not read by old engines): the full
     * 64-bit size or count of actions 1, 2, 5 and 6, as size holds at most
     * INT32_MAX. Written and read only through the two functions below. */
    uint32_t sizeHigh; /* 540: bits 32..63 */
    uint32_t sizeLow;  /* 544: bits 0..31 */
} BrxCallbackRecord;

/* Returns BRX_CALLBACK_STOP to stop the running command, else BRX_CALLBACK_GO_ON. */
typedef int32_t (*BrxCallbackFn)(BrxCallbackRecord* record);

#define BRX_CALLBACK_GO_ON 0
#define BRX_CALLBACK_STOP (-1)

/* The size or count of actions 1, 2, 5 and 6. size gets the value capped at
 * INT32_MAX, never negative, for readers of the fixed part; sizeHigh and
 * sizeLow always get all 64 bits. */
static inline void brxSetCallbackSize(BrxCallbackRecord* record, uint64_t size) {
    record->size = size > INT32_MAX ? INT32_MAX : (int32_t)size;
    record->sizeHigh = (uint32_t)(size >> 32);
    record->sizeLow = (uint32_t)size;
}

/* The size written by brxSetCallbackSize; from a library that fills only
 * the fixed part, its size field (a negative one counts as 0). */
static inline uint64_t brxCallbackSize(const BrxCallbackRecord* record) {
    const uint64_t wide = ((uint64_t)record->sizeHigh << 32) | record->sizeLow;
    if (wide > INT32_MAX) return wide;
    return record->size < 0 ? 0 : (uint64_t)record->size;
}

/* How many of the first `bytes` bytes of the UTF-8 text password make up
 * the password as sent: its first BRX_PASSWORD_MAX_LENGTH characters, at
 * most BRX_PASSWORD_MAX_BYTES bytes, ending between two characters. The
 * engine applies it to the passwords it sends, the libraries to the
 * passwords they receive, so that adding and extracting agree. */
static inline size_t brxPasswordBytes(const char* password, size_t bytes) {
    size_t characters = 0;
    size_t end = 0;
    for (size_t i = 0; i <= bytes; ++i) {
        if (i < bytes && ((unsigned char)password[i] & 0xC0u) == 0x80u)
            continue; /* inside a character */
        if (i > BRX_PASSWORD_MAX_BYTES) break;
        end = i;
        if (i == bytes || characters == BRX_PASSWORD_MAX_LENGTH) break;
        ++characters;
    }
    return end;
}

/* Action codes (offset 16). */
typedef enum BrxCallbackAction {
    BRX_ACTION_ITEM_START = 1,  /* text = item name, size = item size */
    BRX_ACTION_PROGRESS = 2,    /* size = bytes processed since the last report */
    BRX_ACTION_END = 3,         /* end of the operation */
    BRX_ACTION_MESSAGE = 4,     /* errorCode = BRX_MSG_*, text = message */
    BRX_ACTION_TOTAL_FILES = 5, /* size = number of items */
    BRX_ACTION_TOTAL_SIZE = 6,  /* size = total bytes */
    BRX_ACTION_NEW_NAME = 7,    /* text = name; the engine may rewrite it and set action 8 */
    BRX_ACTION_PASSWORD = 8,    /* see BRX_PASSWORD_* */
    BRX_ACTION_CRC_ERROR = 9,   /* errorCode = found CRC, size = expected CRC; see BRX_CRC_* */
    BRX_ACTION_OVERWRITE = 10,  /* see BRX_OVERWRITE_* */
    BRX_ACTION_SKIPPED = 11     /* size low byte = BrxSkipKind, errorCode = BRX_MSG_* */
} BrxCallbackAction;

/* Action 8, password wanted. Request: errorCode bit 0 = ask with
 * confirmation (a new password for encryption); size = repeat count; text
 * = the file concerned. Reply: errorCode = 1 and the password in text (at
 * most 80 characters, see brxPasswordBytes), or errorCode = 0 when none was given; size = the
 * repeat count left (at most 15). */
#define BRX_PASSWORD_CONFIRM_BIT 0x1
#define BRX_PASSWORD_REPLY_GIVEN 1
#define BRX_PASSWORD_REPLY_NONE 0
#define BRX_PASSWORD_MAX_REPEAT 15

/* Action 9, CRC error. Reply in errorCode: keep the file, discard it, or
 * no answer (no handler): the library then discards the file. */
#define BRX_CRC_REPLY_DISCARD 0
#define BRX_CRC_REPLY_KEEP 1
#define BRX_CRC_REPLY_NO_ANSWER 2

/* Action 10, overwrite? Request: errorCode bit 0 = the existing file is
 * older than the entry; size low byte = the default answer (0 = no).
 * Reply in size: 1 overwrite, 0 keep the existing file. */
#define BRX_OVERWRITE_IS_OLDER_BIT 0x1
#define BRX_OVERWRITE_REPLY_YES 1
#define BRX_OVERWRITE_REPLY_NO 0

/* Action 11, item skipped: the kind in the low byte of size. */
typedef enum BrxSkipKind {
    BRX_SKIP_ON_FRESHEN = 0,            /* freshen: no such file to replace */
    BRX_SKIP_NO_OVERWRITE = 1,          /* existing file kept (answer no / default) */
    BRX_SKIP_FILE_EXISTS = 2,           /* update/freshen: existing file is not older */
    BRX_SKIP_BAD_PASSWORD = 3,          /* password missing or wrong */
    BRX_SKIP_NO_ENCRYPTION_SUPPORT = 4, /* unsupported encryption (AES, strong) */
    BRX_SKIP_COMPRESSION_UNKNOWN = 5,   /* unsupported method */
    BRX_SKIP_UNSAFE_PATH = 6,           /* name would leave the extraction folder */
    BRX_SKIP_DAMAGED = 7,               /* damaged entry (sizes, offsets, truncation) */
    BRX_SKIP_CRC_ERROR = 8,             /* CRC mismatch, file not kept */
    BRX_SKIP_WRITE_ERROR = 9            /* the output file could not be written */
} BrxSkipKind;

/* ---- message codes (action 4, errorCode; action 11, errorCode) ---------- */

/* The engine keeps the low byte of a code as its ErrCode, so every failure
 * kind has its own low byte. Code 0 is an informative message that is not
 * a failure. Every failure text names the file and the reason. */
#define BRX_MSG_INFO 0
/* Compression library. */
#define BRX_MSG_FILE_NOT_FOUND 767    /* "File not found:" + pattern */
#define BRX_MSG_NOTHING_TO_DO 852237  /* "Nothing to do: archive not created" */
#define BRX_MSG_READ_FAILED 20        /* a file to add cannot be read */
#define BRX_MSG_WRITE_FAILED 21       /* the archive cannot be written (disk full...) */
#define BRX_MSG_TEMP_FILE_FAILED 22   /* temporary archive cannot be created */
#define BRX_MSG_REPLACE_FAILED 23     /* temporary archive cannot replace the target */
#define BRX_MSG_ARCHIVE_UNREADABLE 24 /* the existing archive cannot be read or is damaged */
#define BRX_MSG_TOO_LARGE 25          /* an entry or the archive would exceed 4 GiB */
#define BRX_MSG_TOO_MANY_ENTRIES 26   /* more than 65,535 entries */
#define BRX_MSG_CANCELLED 27          /* the caller stopped the command */
#define BRX_MSG_NO_PASSWORD 28        /* encryption asked, no password given */
#define BRX_MSG_BAD_COMMAND 29        /* the command record is not usable */
#define BRX_MSG_MOVE_DELETE_FAILED 30 /* a moved file could not be deleted */
#define BRX_MSG_OUT_OF_MEMORY 31
#define BRX_MSG_INTERNAL_ERROR 32
#define BRX_MSG_FILE_CHANGED 33        /* a file changed size while it was read */
#define BRX_MSG_NAME_TOO_LONG 34       /* name longer than the format allows */
#define BRX_MSG_ENTRY_NOT_FOUND 35     /* delete: a pattern matched no entry */
#define BRX_MSG_COMMENT_TOO_LONG 36    /* archive comment over 65,535 bytes */
#define BRX_MSG_UNSUPPORTED_ARCHIVE 37 /* existing archive uses Zip64 or spans disks */
/* Decompression library. */
#define BRX_MSG_UNSAFE_PATH 40     /* "..", absolute name, drive letter, backslash */
#define BRX_MSG_SYMLINK_IN_PATH 41 /* path would pass through a symbolic link */
#define BRX_MSG_CRC_ERROR 42
#define BRX_MSG_BAD_PASSWORD 43
#define BRX_MSG_UNSUPPORTED_METHOD 44
#define BRX_MSG_UNSUPPORTED_ZIP64 45
#define BRX_MSG_UNSUPPORTED_ENCRYPTION 46 /* AES or strong encryption */
#define BRX_MSG_DAMAGED_ENTRY 47          /* lying sizes, truncation, overlap */
#define BRX_MSG_DAMAGED_ARCHIVE 48        /* no usable end record / directory */
#define BRX_MSG_ARCHIVE_OPEN_FAILED 49
#define BRX_MSG_OUTPUT_FAILED 50         /* extracted file cannot be written */
#define BRX_MSG_SKIPPED 51               /* entry skipped (existing file kept...) */
#define BRX_MSG_SET_ATTRIBUTES_FAILED 52 /* date or mode could not be restored */
#define BRX_MSG_NO_MATCHING_ENTRY 53     /* a pattern matched no entry */

/* ---- compression command record, version 151 and later (216 bytes) ----- */

/* One file pattern entry (104 bytes on 32-bit). */
typedef struct BrxZipFileSpec {
    const char* spec;
    uint8_t reserved[100];
} BrxZipFileSpec;

typedef struct BrxZipCommandRecord {
    void* ownerWindow;           /*   0: owner window, 0 when unattended */
    void* caller;                /*   4: returned in every callback */
    int32_t version;             /*   8: BRX_RECORD_VERSION */
    BrxCallbackFn callback;      /*  12 */
    int32_t trace;               /*  16 */
    char* password;              /*  20: BRX_PASSWORD_BUFFER_SIZE bytes */
    const char* storeSuffixes;   /*  24: ".gif:.zip:.exe", or 0 */
    int32_t encrypt;             /*  28 */
    int32_t hiddenFiles;         /*  32: also add names starting with "." */
    int32_t reserved36;          /*  36 */
    int32_t reserved40;          /*  40 */
    int32_t dirEntries;          /*  44: add directory entries */
    int32_t reserved48;          /*  48 */
    int32_t verbose;             /*  52 */
    int32_t levelGiven;          /*  56: always -1 */
    int32_t level;               /*  60: 0 (store) to 9 */
    int32_t reserved64;          /*  64 */
    int32_t reserved68;          /*  68 */
    int32_t namesOnly;           /*  72: store names without their folders */
    int16_t recurse;             /*  76: 16-bit flag */
    int16_t reserved78;          /*  78 */
    int32_t adding;              /*  80: -1 for add, 0 for delete */
    int32_t forceDos;            /*  84: store names as 8.3 upper-case DOS names */
    int32_t move;                /*  88: delete the files once archived */
    int32_t deleteEntries;       /*  92: -1 delete command, 0 add */
    int32_t update;              /*  96 */
    int32_t freshen;             /* 100 */
    int32_t reserved104;         /* 104 */
    int32_t zipTime;             /* 108: archive date = newest entry */
    int32_t reserved112;         /* 112 */
    int32_t reserved116;         /* 116 */
    int32_t specCount;           /* 120 */
    const char* zipFileName;     /* 124 */
    const char* tempDir;         /* 128: or 0 */
    const char* comment;         /* 132: or 0 (160 and later) */
    int16_t archiveOnly;         /* 136: 1 = only files with the archive bit (160) */
    int16_t resetArchive;        /* 138: 1 = clear the archive bit (160) */
    BrxZipFileSpec* specs;       /* 140: specCount entries */
    int32_t reserved144;         /* 144 */
    int32_t excludeCount;        /* 148: (160 and later) */
    const char* const* excludes; /* 152: excludeCount pointers (160 and later) */
    int32_t reserved156[14];     /* 156 .. 211 */
    int32_t check;               /* 212: BRX_RECORD_CHECK */
} BrxZipCommandRecord;

/* Compression record for libraries older than 151 (16,520 bytes): the
 * first 128 bytes as above, then the check value and the pattern
 * pointers. */
typedef struct BrxZipCommandRecordOld {
    void* ownerWindow;                           /*   0 */
    void* caller;                                /*   4 */
    int32_t version;                             /*   8 */
    BrxCallbackFn callback;                      /*  12 */
    int32_t trace;                               /*  16 */
    char* password;                              /*  20 */
    const char* storeSuffixes;                   /*  24 */
    int32_t encrypt;                             /*  28 */
    int32_t hiddenFiles;                         /*  32 */
    int32_t reserved36;                          /*  36 */
    int32_t reserved40;                          /*  40 */
    int32_t dirEntries;                          /*  44 */
    int32_t reserved48;                          /*  48 */
    int32_t verbose;                             /*  52 */
    int32_t levelGiven;                          /*  56 */
    int32_t level;                               /*  60 */
    int32_t reserved64;                          /*  64 */
    int32_t reserved68;                          /*  68 */
    int32_t namesOnly;                           /*  72 */
    int16_t recurse;                             /*  76 */
    int16_t reserved78;                          /*  78 */
    int32_t adding;                              /*  80 */
    int32_t forceDos;                            /*  84 */
    int32_t move;                                /*  88 */
    int32_t deleteEntries;                       /*  92 */
    int32_t update;                              /*  96 */
    int32_t freshen;                             /* 100 */
    int32_t reserved104;                         /* 104 */
    int32_t zipTime;                             /* 108 */
    int32_t reserved112;                         /* 112 */
    int32_t reserved116;                         /* 116 */
    int32_t specCount;                           /* 120 */
    const char* zipFileName;                     /* 124 */
    int32_t check;                               /* 128: BRX_RECORD_CHECK */
    const char* specs[BRX_OLD_RECORD_MAX_SPECS]; /* 132 */
} BrxZipCommandRecordOld;

/* ---- decompression command record, version 152 and later (148 bytes) --- */

/* One file pattern entry (72 bytes on 32-bit). */
typedef struct BrxUnzFileSpec {
    const char* spec;
    uint8_t reserved[68];
} BrxUnzFileSpec;

typedef struct BrxUnzCommandRecord {
    void* ownerWindow;        /*   0 */
    void* caller;             /*   4 */
    int32_t version;          /*   8: BRX_RECORD_VERSION */
    BrxCallbackFn callback;   /*  12 */
    int32_t trace;            /*  16 */
    int32_t reserved20;       /*  20 */
    char* password;           /*  24: length + 1 bytes, or 0 */
    int32_t test;             /*  28: test only, write nothing */
    int32_t reserved32;       /*  32 */
    int32_t reserved36;       /*  36 */
    int32_t always40;         /*  40: always -1 */
    int32_t verbose;          /*  44 */
    int32_t update;           /*  48 */
    int32_t freshen;          /*  52 */
    int32_t dirNames;         /*  56: restore stored paths */
    int32_t overwrite;        /*  60 */
    int32_t specCount;        /*  64 */
    const char* zipFileName;  /*  68 */
    BrxUnzFileSpec* specs;    /*  72 */
    int32_t reserved76;       /*  76 */
    int32_t toMemory;         /*  80: always 0 */
    void* memoryTarget;       /*  84: always 0 */
    int32_t memorySize;       /*  88: always 0 */
    int32_t reserved92;       /*  92 */
    int32_t reserved96;       /*  96 */
    int32_t reserved100;      /* 100 */
    int32_t passwordReqCount; /* 104: (160 and later) */
    int32_t reserved108[9];   /* 108 .. 143 */
    int32_t check;            /* 144: BRX_RECORD_CHECK */
} BrxUnzCommandRecord;

/* Decompression record for libraries older than 152 (16,464 bytes). */
typedef struct BrxUnzCommandRecordOld {
    void* ownerWindow;                           /*   0 */
    void* caller;                                /*   4 */
    int32_t version;                             /*   8 */
    BrxCallbackFn callback;                      /*  12 */
    int32_t trace;                               /*  16 */
    int32_t reserved20;                          /*  20 */
    char* password;                              /*  24 */
    int32_t test;                                /*  28 */
    int32_t reserved32;                          /*  32 */
    int32_t reserved36;                          /*  36 */
    int32_t always40;                            /*  40 */
    int32_t verbose;                             /*  44 */
    int32_t update;                              /*  48 */
    int32_t freshen;                             /*  52 */
    int32_t dirNames;                            /*  56 */
    int32_t overwrite;                           /*  60 */
    int32_t specCount;                           /*  64 */
    const char* zipFileName;                     /*  68 */
    int32_t check;                               /*  72: BRX_RECORD_CHECK */
    const char* specs[BRX_OLD_RECORD_MAX_SPECS]; /* 76 */
} BrxUnzCommandRecordOld;

/* ---- exported entry points -------------------------------------------- */

/* ZIPDLL.DLL: "ZipDllExec" runs one add or delete command and returns the
 * number of entries added or deleted; "GetZipDllVersion" returns 160. */
typedef int32_t (*BrxZipDllExecFn)(BrxZipCommandRecord* record);
typedef int32_t (*BrxGetZipDllVersionFn)(void);
/* UNZDLL.DLL: "UnzDllExec" extracts or tests and returns the number of
 * entries done successfully; "GetUnzDllVersion" returns 160. */
typedef int32_t (*BrxUnzDllExecFn)(BrxUnzCommandRecord* record);
typedef int32_t (*BrxGetUnzDllVersionFn)(void);

/* ---- layout checks ------------------------------------------------------ */

#ifdef __cplusplus
#define BRX_ABI_ASSERT(cond, what) static_assert(cond, what)
#else
#define BRX_ABI_ASSERT(cond, what) _Static_assert(cond, what)
#endif
#define BRX_ABI_AT(type, field, offset)                                                            \
    BRX_ABI_ASSERT(offsetof(type, field) == (offset), #type "." #field " at " #offset)
#define BRX_ABI_SIZE(type, size) BRX_ABI_ASSERT(sizeof(type) == (size), "sizeof " #type)

#if UINTPTR_MAX == 0xFFFFFFFFu
/* 32-bit: the offsets of the tables. */
BRX_ABI_SIZE(BrxZipFileSpec, 104);
BRX_ABI_SIZE(BrxUnzFileSpec, 72);
BRX_ABI_AT(BrxZipCommandRecord, ownerWindow, 0);
BRX_ABI_AT(BrxZipCommandRecord, caller, 4);
BRX_ABI_AT(BrxZipCommandRecord, version, 8);
BRX_ABI_AT(BrxZipCommandRecord, callback, 12);
BRX_ABI_AT(BrxZipCommandRecord, trace, 16);
BRX_ABI_AT(BrxZipCommandRecord, password, 20);
BRX_ABI_AT(BrxZipCommandRecord, storeSuffixes, 24);
BRX_ABI_AT(BrxZipCommandRecord, encrypt, 28);
BRX_ABI_AT(BrxZipCommandRecord, hiddenFiles, 32);
BRX_ABI_AT(BrxZipCommandRecord, dirEntries, 44);
BRX_ABI_AT(BrxZipCommandRecord, verbose, 52);
BRX_ABI_AT(BrxZipCommandRecord, levelGiven, 56);
BRX_ABI_AT(BrxZipCommandRecord, level, 60);
BRX_ABI_AT(BrxZipCommandRecord, namesOnly, 72);
BRX_ABI_AT(BrxZipCommandRecord, recurse, 76);
BRX_ABI_AT(BrxZipCommandRecord, adding, 80);
BRX_ABI_AT(BrxZipCommandRecord, forceDos, 84);
BRX_ABI_AT(BrxZipCommandRecord, move, 88);
BRX_ABI_AT(BrxZipCommandRecord, deleteEntries, 92);
BRX_ABI_AT(BrxZipCommandRecord, update, 96);
BRX_ABI_AT(BrxZipCommandRecord, freshen, 100);
BRX_ABI_AT(BrxZipCommandRecord, zipTime, 108);
BRX_ABI_AT(BrxZipCommandRecord, specCount, 120);
BRX_ABI_AT(BrxZipCommandRecord, zipFileName, 124);
BRX_ABI_AT(BrxZipCommandRecord, tempDir, 128);
BRX_ABI_AT(BrxZipCommandRecord, comment, 132);
BRX_ABI_AT(BrxZipCommandRecord, archiveOnly, 136);
BRX_ABI_AT(BrxZipCommandRecord, resetArchive, 138);
BRX_ABI_AT(BrxZipCommandRecord, specs, 140);
BRX_ABI_AT(BrxZipCommandRecord, excludeCount, 148);
BRX_ABI_AT(BrxZipCommandRecord, excludes, 152);
BRX_ABI_AT(BrxZipCommandRecord, check, 212);
BRX_ABI_SIZE(BrxZipCommandRecord, 216);
BRX_ABI_AT(BrxZipCommandRecordOld, zipFileName, 124);
BRX_ABI_AT(BrxZipCommandRecordOld, check, 128);
BRX_ABI_AT(BrxZipCommandRecordOld, specs, 132);
BRX_ABI_SIZE(BrxZipCommandRecordOld, 16520);
BRX_ABI_AT(BrxUnzCommandRecord, ownerWindow, 0);
BRX_ABI_AT(BrxUnzCommandRecord, caller, 4);
BRX_ABI_AT(BrxUnzCommandRecord, version, 8);
BRX_ABI_AT(BrxUnzCommandRecord, callback, 12);
BRX_ABI_AT(BrxUnzCommandRecord, trace, 16);
BRX_ABI_AT(BrxUnzCommandRecord, password, 24);
BRX_ABI_AT(BrxUnzCommandRecord, test, 28);
BRX_ABI_AT(BrxUnzCommandRecord, always40, 40);
BRX_ABI_AT(BrxUnzCommandRecord, verbose, 44);
BRX_ABI_AT(BrxUnzCommandRecord, update, 48);
BRX_ABI_AT(BrxUnzCommandRecord, freshen, 52);
BRX_ABI_AT(BrxUnzCommandRecord, dirNames, 56);
BRX_ABI_AT(BrxUnzCommandRecord, overwrite, 60);
BRX_ABI_AT(BrxUnzCommandRecord, specCount, 64);
BRX_ABI_AT(BrxUnzCommandRecord, zipFileName, 68);
BRX_ABI_AT(BrxUnzCommandRecord, specs, 72);
BRX_ABI_AT(BrxUnzCommandRecord, toMemory, 80);
BRX_ABI_AT(BrxUnzCommandRecord, memoryTarget, 84);
BRX_ABI_AT(BrxUnzCommandRecord, memorySize, 88);
BRX_ABI_AT(BrxUnzCommandRecord, passwordReqCount, 104);
BRX_ABI_AT(BrxUnzCommandRecord, check, 144);
BRX_ABI_SIZE(BrxUnzCommandRecord, 148);
BRX_ABI_AT(BrxUnzCommandRecordOld, zipFileName, 68);
BRX_ABI_AT(BrxUnzCommandRecordOld, check, 72);
BRX_ABI_AT(BrxUnzCommandRecordOld, specs, 76);
BRX_ABI_SIZE(BrxUnzCommandRecordOld, 16464);
BRX_ABI_AT(BrxCallbackRecord, caller, 4);
BRX_ABI_AT(BrxCallbackRecord, actionCode, 16);
BRX_ABI_AT(BrxCallbackRecord, errorCode, 20);
BRX_ABI_AT(BrxCallbackRecord, size, 24);
BRX_ABI_AT(BrxCallbackRecord, text, 28);
BRX_ABI_AT(BrxCallbackRecord, sizeHigh, 540);
BRX_ABI_AT(BrxCallbackRecord, sizeLow, 544);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
/* 64-bit: pointers widen to 8 bytes with natural alignment. */
BRX_ABI_SIZE(BrxZipFileSpec, 112);
BRX_ABI_SIZE(BrxUnzFileSpec, 80);
BRX_ABI_AT(BrxZipCommandRecord, version, 16);
BRX_ABI_AT(BrxZipCommandRecord, callback, 24);
BRX_ABI_AT(BrxZipCommandRecord, password, 40);
BRX_ABI_AT(BrxZipCommandRecord, encrypt, 56);
BRX_ABI_AT(BrxZipCommandRecord, recurse, 104);
BRX_ABI_AT(BrxZipCommandRecord, specCount, 148);
BRX_ABI_AT(BrxZipCommandRecord, zipFileName, 152);
BRX_ABI_AT(BrxZipCommandRecord, comment, 168);
BRX_ABI_AT(BrxZipCommandRecord, archiveOnly, 176);
BRX_ABI_AT(BrxZipCommandRecord, specs, 184);
BRX_ABI_AT(BrxZipCommandRecord, excludeCount, 196);
BRX_ABI_AT(BrxZipCommandRecord, excludes, 200);
BRX_ABI_AT(BrxZipCommandRecord, check, 264);
BRX_ABI_SIZE(BrxZipCommandRecord, 272);
BRX_ABI_AT(BrxZipCommandRecordOld, check, 160);
BRX_ABI_AT(BrxZipCommandRecordOld, specs, 168);
BRX_ABI_AT(BrxUnzCommandRecord, password, 40);
BRX_ABI_AT(BrxUnzCommandRecord, specCount, 84);
BRX_ABI_AT(BrxUnzCommandRecord, zipFileName, 88);
BRX_ABI_AT(BrxUnzCommandRecord, specs, 96);
BRX_ABI_AT(BrxUnzCommandRecord, memoryTarget, 112);
BRX_ABI_AT(BrxUnzCommandRecord, passwordReqCount, 136);
BRX_ABI_AT(BrxUnzCommandRecord, check, 176);
BRX_ABI_SIZE(BrxUnzCommandRecord, 184);
BRX_ABI_AT(BrxUnzCommandRecordOld, check, 96);
BRX_ABI_AT(BrxUnzCommandRecordOld, specs, 104);
BRX_ABI_AT(BrxCallbackRecord, caller, 8);
BRX_ABI_AT(BrxCallbackRecord, actionCode, 24);
BRX_ABI_AT(BrxCallbackRecord, text, 36);
BRX_ABI_AT(BrxCallbackRecord, sizeHigh, 548);
BRX_ABI_AT(BrxCallbackRecord, sizeLow, 552);
#endif

#undef BRX_ABI_SIZE
#undef BRX_ABI_AT
#undef BRX_ABI_ASSERT

#ifdef __cplusplus
}
#endif

#endif /* BRX_ZIPDLLABI_H */
