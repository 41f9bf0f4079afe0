// The narrow path rules every part of the installer uses: the character step, the last
// separator, the trailing backslash, the folder of a path, its names and the length limits.
// 0xB1 0x5C and 0x95 0x5C are GBK characters whose trail byte is a backslash byte.
#include <gtest/gtest.h>

#include "framework/Paths.h"

namespace {
const path::LeadByteTest gbk = narrow::isCp936LeadByte;
}

TEST(Paths, SeparatorsAreBackslashCharactersNeverTrailBytes) {
    const struct {
        std::string text;
        std::size_t last;
        std::string withoutTrailing;
        std::string folder;
        std::vector<std::string> names;
    } cases[] = {
        {"", std::string::npos, "", "", {""}},
        {"abc", std::string::npos, "abc", "", {"abc"}},
        {"\\", 0, "", "", {"", ""}},
        {"C:\\a\\b", 4, "C:\\a\\b", "C:\\a", {"C:", "a", "b"}},
        {"C:\\Tools\\\\", 9, "C:\\Tools\\", "C:\\Tools\\", {"C:", "Tools", "", ""}},
        {"D:\\SetUp.exe", 2, "D:\\SetUp.exe", "D:", {"D:", "SetUp.exe"}},
        {"C:\\\x95\x5C", 2, "C:\\\x95\x5C", "C:", {"C:", "\x95\x5C"}},
        {"C:\\\xB1\x5C\\", 5, "C:\\\xB1\x5C", "C:\\\xB1\x5C", {"C:", "\xB1\x5C", ""}},
        {"\x95", std::string::npos, "\x95", "", {"\x95"}},  // a lone lead byte at the end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(path::lastSeparator(c.text, gbk), c.last) << c.text;
        EXPECT_EQ(path::withoutTrailingSeparator(c.text, gbk), c.withoutTrailing) << c.text;
        EXPECT_EQ(path::folderOf(c.text, gbk), c.folder) << c.text;
        EXPECT_EQ(path::names(c.text, gbk), c.names) << c.text;
    }
    EXPECT_EQ(path::join("C:\\a", "b.dll"), "C:\\a\\b.dll");
}

TEST(Paths, CharacterStepAndLengthLimitsCountDoubleByteCharactersOnce) {
    const struct {
        std::string text;
        std::size_t firstLength;  // of the character at 0
    } steps[] = {
        {"a", 1},    {"\xD6\xD0", 2}, {"\x81\x5C", 2}, {"\x83\x7C", 2}, {std::string("\0a", 2), 0},
        {"\xD6", 0}, {"\xD6\x30", 0}, {"\xD6\x7F", 0}, {"\xD6\xFF", 0},
    };
    for (const auto& c : steps) EXPECT_EQ(path::characterLength(c.text, 0, gbk), c.firstLength) << c.text;

    std::string chinese200;
    for (int i = 0; i < 200; ++i) chinese200 += "\xD6\xD0";
    const struct {
        std::string text;
        std::size_t chars;
        bool fitsFile, fitsFolder;
    } lengths[] = {
        {"", 0, true, true},
        {std::string(247, 'a'), 247, true, true},
        {std::string(248, 'a'), 248, true, false},
        {std::string(259, 'a'), 259, true, false},
        {std::string(260, 'a'), 260, false, false},
        {chinese200, 200, true, true},
        {std::string(259, 'a') + "\xD6\xD0", 260, false, false},
        {std::string(258, 'a') + "\xD6", 259, true, false},  // a lone lead byte still counts
    };
    for (const auto& c : lengths) {
        EXPECT_EQ(path::charCount(c.text, gbk), c.chars) << c.text.size();
        EXPECT_EQ(path::fitsLimit(c.text, gbk), c.fitsFile) << c.text.size();
        EXPECT_EQ(path::fitsLimit(c.text, gbk, true), c.fitsFolder) << c.text.size();
    }
}
