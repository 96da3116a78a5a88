#include <gtest/gtest.h>

#include <sys/time.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

#include "tests/common/ScratchFolder.h"
#include "windowlogic/VersionBlock.h"
#include "windowlogic/VersionInfo.h"

namespace zelk {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A block built at run time from its entries.
Bytes MakeBlock(std::initializer_list<VersionStringEntry> entries, bool wide = true,
                std::string_view tableKey = "040704E4") {
    const std::vector<VersionStringEntry> list(entries);
    VersionBlockContents contents;
    contents.fileVersion = {0, 4, 6, 1};
    contents.productVersion = {0, 4, 6, 1};
    contents.tableKey = tableKey;
    contents.strings = list.data();
    contents.stringCount = list.size();
    contents.wide = wide;
    const auto built = std::make_unique<VersionBlockBytes<16384>>(BuildVersionBlock<16384>(contents));
    EXPECT_FALSE(built->overflow);
    return Bytes(built->data.begin(), built->data.begin() + static_cast<std::ptrdiff_t>(built->size));
}

void Put(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A small little-endian ELF file with a section name table and the given sections.
Bytes MakeElf(const std::vector<std::pair<std::string, Bytes>>& sections, bool wide = true) {
    const std::uint64_t headerSize = wide ? 64 : 52;
    const std::uint64_t entrySize = wide ? 64 : 40;
    Bytes names{0};
    std::vector<std::uint32_t> nameAt;
    for (const auto& [name, data] : sections) {
        nameAt.push_back(static_cast<std::uint32_t>(names.size()));
        names.insert(names.end(), name.begin(), name.end());
        names.push_back(0);
    }
    const std::uint32_t tableName = static_cast<std::uint32_t>(names.size());
    const std::string shstrtab = ".shstrtab";
    names.insert(names.end(), shstrtab.begin(), shstrtab.end());
    names.push_back(0);

    Bytes body;
    std::vector<std::uint64_t> offsets;
    for (const auto& [name, data] : sections) {
        offsets.push_back(headerSize + body.size());
        body.insert(body.end(), data.begin(), data.end());
    }
    const std::uint64_t namesOffset = headerSize + body.size();
    body.insert(body.end(), names.begin(), names.end());
    const std::uint64_t shoff = headerSize + body.size();
    const auto count = static_cast<std::uint16_t>(sections.size() + 2);

    Bytes out = {0x7F, 'E', 'L', 'F', static_cast<std::uint8_t>(wide ? 2 : 1), 1, 1, 0};
    out.resize(16, 0);
    Put(out, 2, 2);             // type: executable
    Put(out, 62, 2);            // machine
    Put(out, 1, 4);             // version
    Put(out, 0, wide ? 8 : 4);  // entry
    Put(out, 0, wide ? 8 : 4);  // program headers
    Put(out, shoff, wide ? 8 : 4);
    Put(out, 0, 4);  // flags
    Put(out, headerSize, 2);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, entrySize, 2);
    Put(out, count, 2);
    Put(out, count - 1, 2);  // the name table comes last
    out.insert(out.end(), body.begin(), body.end());

    const auto section = [&](std::uint32_t name, std::uint32_t type, std::uint64_t offset, std::uint64_t size) {
        const int word = wide ? 8 : 4;
        Put(out, name, 4);
        Put(out, type, 4);
        Put(out, 0, word);  // flags
        Put(out, 0, word);  // address
        Put(out, offset, word);
        Put(out, size, word);
        Put(out, 0, 4);  // link
        Put(out, 0, 4);  // info
        Put(out, 1, word);
        Put(out, 0, word);
    };
    section(0, 0, 0, 0);
    for (size_t i = 0; i < sections.size(); ++i) section(nameAt[i], 1, offsets[i], sections[i].second.size());
    section(tableName, 3, namesOffset, names.size());
    return out;
}

// The bytes in a scratch file.
test::ScratchFile FileOf(const Bytes& bytes) {
    return test::ScratchFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The version text of an ELF file (64-bit, or 32-bit) that carries `block`.
std::string VersionOf(const Bytes& block, bool elf64 = true) {
    const test::ScratchFile file = FileOf(MakeElf({{".text", Bytes(16, 0x90)}, {"zelk_version", block}}, elf64));
    return GetVersionString(file.Path());
}

unsigned Word(const Bytes& b, size_t at) { return static_cast<unsigned>(b[at] | (b[at + 1] << 8)); }
std::uint32_t Dword(const Bytes& b, size_t at) {
    return Word(b, at) | (static_cast<std::uint32_t>(Word(b, at + 2)) << 16);
}

std::string WideAt(const Bytes& b, size_t at, size_t chars) {
    std::string text;
    for (size_t i = 0; i < chars; ++i) text += static_cast<char>(Word(b, at + 2 * i));
    return text;
}

TEST(VersionBlock, StandardThirtyTwoBitLayout) {
    const Bytes block = MakeBlock({{"FileVersion", "0.4.6.1"}, {"ProductVersion", "0.4.6.1"}});
    EXPECT_EQ(Word(block, 0), block.size());
    EXPECT_EQ(Word(block, 2), 52u);  // the fixed part
    EXPECT_EQ(Word(block, 4), 0u);
    EXPECT_EQ(WideAt(block, 6, 15), "VS_VERSION_INFO");
    EXPECT_EQ(Dword(block, 40), 0xFEEF04BDu);
    EXPECT_EQ(Dword(block, 48), 0x00000004u);  // file version 0.4
    EXPECT_EQ(Dword(block, 52), 0x00060001u);  //              .6.1
    EXPECT_EQ(Dword(block, 56), 0x00000004u);  // product version
    EXPECT_EQ(Dword(block, 60), 0x00060001u);
    EXPECT_EQ(WideAt(block, 98, 14), "StringFileInfo");  // the first child
    EXPECT_EQ(WideAt(block, 134, 8), "040704E4");

    std::string value;
    ASSERT_TRUE(VerQueryValue(block.data(), block.size(), "\\StringFileInfo\\040704E4\\FileVersion", value));
    EXPECT_EQ(value, "0.4.6.1");
    ASSERT_TRUE(VerQueryValue(block.data(), block.size(), "\\stringfileinfo\\040704e4\\ProductVersion", value));
    EXPECT_EQ(value, "0.4.6.1");
    EXPECT_FALSE(VerQueryValue(block.data(), block.size(), "\\StringFileInfo\\040704E4\\Status", value));
    EXPECT_FALSE(VerQueryValue(block.data(), block.size(), "\\StringFileInfo\\040904B0\\FileVersion", value));
    // A cut block answers only for what lies inside it.
    EXPECT_FALSE(VerQueryValue(block.data(), 150, "\\StringFileInfo\\040704E4\\FileVersion", value));
}

TEST(VersionString, ThisProgramReadsItsOwnVersionWithTheTrailingBlank) {
    const std::string self = ProgramFilePath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(GetVersionString(self), "0.4.6.1 ");
    std::uint32_t handle = 1;
    EXPECT_GT(GetFileVersionInfoSize(self, handle), 150u);
    EXPECT_EQ(handle, 0u);
}

TEST(VersionString, StatusFollowsTheBlank) {
    EXPECT_EQ(VersionOf(MakeBlock({{"FileVersion", "0.4.6.1"}, {"Status", "Testversion"}})), "0.4.6.1 Testversion");
    EXPECT_EQ(VersionOf(MakeBlock({{"Status", "beta"}, {"FileVersion", "1.0"}}), false), "1.0 beta");
    EXPECT_EQ(VersionOf(MakeBlock({{"FileVersion", "0.4.6.1"}})), "0.4.6.1 ");
}

TEST(VersionString, KeyComesFromTheFixedPlaces) {
    EXPECT_EQ(VersionOf(MakeBlock({{"FileVersion", "2.0"}}, true, "040904B0")), "2.0 ");
    // The 16-bit layout: "VS_VERSION_INFO" at byte 4, the key at bytes 96 to 103.
    const Bytes old = MakeBlock({{"FileVersion", "0.4.4.1"}}, false);
    ASSERT_EQ(old[4], 'V');
    EXPECT_EQ(std::string(old.begin() + 96, old.begin() + 104), "040704E4");
    EXPECT_EQ(VersionOf(old), "0.4.4.1 ");
}

TEST(VersionString, EmptyWithoutABlockOrAFileVersion) {
    EXPECT_EQ(VersionOf(MakeBlock({{"ProductVersion", "0.4.6.1"}})), "");
    const test::ScratchFile noSection = FileOf(MakeElf({{".text", Bytes(8, 0)}}));
    EXPECT_EQ(GetVersionString(noSection.Path()), "");
    std::uint32_t handle = 0;
    EXPECT_EQ(GetFileVersionInfoSize(noSection.Path(), handle), 0u);
    const test::ScratchFile notElf = FileOf(Bytes{'M', 'Z', 0, 0, 'x'});
    EXPECT_EQ(GetVersionString(notElf.Path()), "");
    EXPECT_EQ(GetVersionString("/nonexistent/zelk"), "");
    const test::ScratchFile empty = FileOf(Bytes{});
    EXPECT_EQ(GetVersionString(empty.Path()), "");
    // A cut-off ELF file, and one with an empty section.
    Bytes cut = MakeElf({{"zelk_version", MakeBlock({{"FileVersion", "1"}})}});
    cut.resize(cut.size() - 30);
    const test::ScratchFile truncated = FileOf(cut);
    EXPECT_EQ(GetVersionString(truncated.Path()), "");
    EXPECT_EQ(VersionOf(Bytes{}), "");
    EXPECT_EQ(VersionOf(Bytes{0x10, 0x00}), "");
}

TEST(VersionString, ThirtyTwoBitElfFile) { EXPECT_EQ(VersionOf(MakeBlock({{"FileVersion", "3.1"}}), false), "3.1 "); }

TEST(VersionString, RoomForOneHundredCharactersAndAFiveThousandByteBlock) {
    const std::string longStatus(300, 's');
    const std::string text = VersionOf(MakeBlock({{"FileVersion", "0.4.6.1"}, {"Status", longStatus}}));
    EXPECT_EQ(text.size(), kVersionTextRoom);
    EXPECT_EQ(text, "0.4.6.1 " + std::string(kVersionTextRoom - 8, 's'));

    // A block larger than the buffer is cut at 5000 bytes; what lies inside still reads.
    const std::string huge(4000, 'h');
    const Bytes big = MakeBlock({{"FileVersion", "0.4.6.1"}, {"Status", huge}});
    ASSERT_GT(big.size(), kVersionBufferSize);
    EXPECT_EQ(VersionOf(big), "0.4.6.1 " + std::string(kVersionTextRoom - 8, 'h'));

    const test::ScratchFile file = FileOf(MakeElf({{"zelk_version", big}}));
    std::vector<std::uint8_t> buffer(kVersionBufferSize + 16, 0xEE);
    std::uint32_t handle = 0;
    EXPECT_EQ(GetFileVersionInfoSize(file.Path(), handle), big.size());
    ASSERT_TRUE(GetFileVersionInfo(file.Path(), handle, kVersionBufferSize, buffer.data()));
    for (size_t i = kVersionBufferSize; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xEE) << i;
}

TEST(FileDate, LocalTimeAsYearMonthDayHourMinute) {
    const test::ScratchFile file = FileOf(Bytes{1, 2, 3});
    std::tm local{};
    local.tm_year = 2014 - 1900;
    local.tm_mon = 8;
    local.tm_mday = 12;
    local.tm_hour = 11;
    local.tm_min = 35;
    local.tm_sec = 20;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    const struct timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimes(file.Path().c_str(), times), 0);
    EXPECT_EQ(GetFileDateString(file.Path()), "2014-09-12-11-35");

    local = {};
    local.tm_year = 2003 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 2;
    local.tm_hour = 4;
    local.tm_min = 5;
    local.tm_isdst = -1;
    const std::time_t early = std::mktime(&local);
    const struct timeval earlyTimes[2] = {{early, 0}, {early, 0}};
    ASSERT_EQ(::utimes(file.Path().c_str(), earlyTimes), 0);
    EXPECT_EQ(GetFileDateString(file.Path()), "2003-01-02-04-05");

    EXPECT_EQ(GetFileDateString("/nonexistent/zelk"), "");
}

}  // namespace
}  // namespace zelk
