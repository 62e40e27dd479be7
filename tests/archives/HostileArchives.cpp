#include "HostileArchives.h"

#include "ZipBuilder.h"

namespace ziptest {

namespace {

const std::string kAlpha = "alpha alpha alpha alpha";
const std::string kBeta(700, 'b');

std::vector<BuildEntry> twoFiles() {
    return {{.name = "a.txt", .data = kAlpha}, {.name = "dir/b.bin", .data = kBeta, .method = 0}};
}

HostileArchive plainCase(std::string id, std::string bytes) {
    HostileArchive c;
    c.id = std::move(id);
    c.bytes = std::move(bytes);
    c.listed = {"a.txt", "dir/b.bin"};
    c.extracted = {{"a.txt", kAlpha}, {"dir/b.bin", kBeta}};
    return c;
}

HostileArchive refused(std::string id, std::string bytes) {
    HostileArchive c;
    c.id = std::move(id);
    c.bytes = std::move(bytes);
    c.readable = false;
    return c;
}

// A fake end record: what a comment may hold.
std::string fakeEndRecord() {
    return std::string("PK\5\6", 4) + std::string(18, '\0');
}

std::vector<BuildEntry> twoZip64Files() {
    std::vector<BuildEntry> entries = twoFiles();
    for (BuildEntry& entry : entries) entry.zip64 = true;
    entries[1].dataDescriptor = true; // with 8-byte sizes after the data
    return entries;
}

// Zip64 records: sizes, offsets and the count read from them, and every
// way they can contradict the archive refused.
void addZip64Cases(std::vector<HostileArchive>& table) {
    table.push_back(plainCase("Zip64 records", buildZip(twoZip64Files(), {.zip64End = true})));
    HostileArchive prefixed =
        plainCase("Zip64 records, prepended data, offsets not rebased",
                  buildZip(twoZip64Files(),
                           {.prefix = std::string(3000, 'M'), .rebase = false, .zip64End = true}));
    prefixed.hasPrefix = true;
    table.push_back(prefixed);
    table.push_back(refused(
        "Zip64 end record outside the file",
        buildZip(twoZip64Files(), {.zip64End = true, .zip64EndOffset = uint64_t(1) << 40})));
    table.push_back(
        refused("Zip64 end record disagreeing with the end record",
                buildZip(twoZip64Files(), {.zip64End = true, .classicCentralSize = 7})));
    table.push_back(refused("Zip64 count larger than the directory",
                            buildZip(twoZip64Files(), {.zip64End = true, .zip64Count = 3})));
    const std::string whole = buildZip(twoZip64Files(), {.zip64End = true});
    table.push_back(
        refused("Zip64 end record cut short", whole.substr(0, whole.size() - 22 - 20 - 30) +
                                                  whole.substr(whole.size() - 22 - 20)));
}

std::vector<HostileArchive> makeTable() {
    std::vector<HostileArchive> table;
    table.push_back(plainCase("plain", buildZip(twoFiles())));
    table.push_back(
        plainCase("comment holding an end signature",
                  buildZip(twoFiles(), {.comment = "see " + fakeEndRecord() + " end"})));
    table.push_back(plainCase("comment ending with a whole fake end record",
                              buildZip(twoFiles(), {.comment = "x" + fakeEndRecord()})));
    table.push_back(plainCase("trailing garbage", buildZip(twoFiles(), {.trailing = "GARBAGE!"})));
    {
        HostileArchive c =
            plainCase("prepended data, offsets rebased",
                      buildZip(twoFiles(), {.prefix = std::string(3000, 'M'), .rebase = true}));
        c.hasPrefix = true;
        table.push_back(c);
        c = plainCase("prepended data, offsets not rebased",
                      buildZip(twoFiles(), {.prefix = std::string(3000, 'M'), .rebase = false}));
        c.hasPrefix = true;
        table.push_back(c);
    }
    {
        // The name "café.txt" written four ways, and one name only as bytes.
        std::vector<BuildEntry> names{
            {.name = "caf\x82-oem.txt", .data = "1", .host = 0},
            {.name = "caf\xe9-unix.txt", .data = "2", .host = 3},
            {.name = "caf\xc3\xa9-flag.txt", .data = "3", .extraFlags = 0x0800},
            {.name = "caf\xc3\xa9-bare.txt", .data = "4", .host = 3},
        };
        HostileArchive c;
        c.id = "names in code page 850, Latin-1 and UTF-8";
        c.bytes = buildZip(names);
        c.listed = {"caf\xc3\xa9-oem.txt", "caf\xc3\xa9-unix.txt", "caf\xc3\xa9-flag.txt",
                    "caf\xc3\xa9-bare.txt"};
        for (size_t i = 0; i < c.listed.size(); ++i)
            c.extracted[c.listed[i]] = std::string(1, char('1' + i));
        table.push_back(c);
    }
    {
        std::vector<BuildEntry> entries = twoFiles();
        entries.push_back({.name = "a.txt", .data = "second a"});
        HostileArchive c;
        c.id = "duplicate names";
        c.bytes = buildZip(entries);
        c.listed = {"a.txt", "dir/b.bin", "a.txt"};
        c.extracted = {{"dir/b.bin", kBeta}}; // which a.txt is kept is the overwrite rule's
        table.push_back(c);
    }
    {
        std::vector<BuildEntry> entries = twoFiles();
        entries.push_back({.name = "../up.txt", .data = "climbs"});
        entries.push_back({.name = "/abs.txt", .data = "absolute"});
        entries.push_back({.name = "dir/../../far.txt", .data = "climbs later"});
        HostileArchive c = plainCase("names leaving the folder", buildZip(entries));
        c.listed = {"a.txt", "dir/b.bin", "../up.txt", "/abs.txt", "dir/../../far.txt"};
        table.push_back(c);
    }
    {
        // The second entry's offset points into the first entry's data.
        std::vector<BuildEntry> entries = twoFiles();
        entries[1].localOffset = 7;
        HostileArchive c = plainCase("damaged local offset", buildZip(entries));
        c.extracted = {{"a.txt", kAlpha}};
        table.push_back(c);
    }
    {
        // The first entry claims data that runs over the second's header.
        std::vector<BuildEntry> entries = twoFiles();
        entries[0].method = 0;
        entries[0].declaredCompressed = static_cast<uint32_t>(kAlpha.size() + 40);
        entries[0].declaredSize = static_cast<uint32_t>(kAlpha.size() + 40);
        HostileArchive c = plainCase("overlapping entries", buildZip(entries));
        c.extracted = {{"dir/b.bin", kBeta}};
        table.push_back(c);
    }
    {
        const std::string whole = buildZip(twoFiles());
        table.push_back(
            refused("truncated in the central directory", whole.substr(0, whole.size() - 40)));
        table.push_back(refused("truncated to its first half", whole.substr(0, whole.size() / 2)));
    }
    table.push_back(
        refused("count larger than the directory", buildZip(twoFiles(), {.declaredCount = 5})));
    table.push_back(
        refused("count smaller than the directory", buildZip(twoFiles(), {.declaredCount = 1})));
    {
        // 65,537 empty entries and a count kept modulo 65,536, without Zip64.
        std::vector<BuildEntry> many(65537);
        for (size_t i = 0; i < many.size(); ++i) {
            many[i].name = "f" + std::to_string(i);
            many[i].method = 0;
        }
        HostileArchive c;
        c.id = "entry count wrapped past 65,535";
        c.bytes = buildZip(many, {.declaredCount = 1});
        c.listedCount = many.size();
        table.push_back(c);
    }
    addZip64Cases(table);
    for (HostileArchive& c : table)
        if (c.listedCount == 0) c.listedCount = c.listed.size();
    return table;
}

} // namespace

const std::vector<HostileArchive>& hostileArchives() {
    static const std::vector<HostileArchive> table = makeTable();
    return table;
}

} // namespace ziptest
