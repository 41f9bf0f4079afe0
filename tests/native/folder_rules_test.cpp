// Folder path form rules: names, levels, and code page 936 names whose trail byte is '\'
// or '|'. Byte escapes keep the GBK bytes exact: \x81\x5C is "乗", \x83\x7C is "億",
// \xC8\xED\xBC\xFE is "软件".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/FolderRules.h"

namespace {

struct NameCase {
    const char* name;
    bool valid;
};

TEST(FolderName, AcceptsOrRejectsByTheRules) {
    const NameCase cases[] = {
        {"Tools", true},
        {"a", true},
        {"my folder", true},
        {"v1.2", true},
        {"~$x!#%&'()+,;=@[]^`{}", true},
        {"", false},
        {" lead", false},
        {"trail ", false},
        {"\tlead", false},
        {"trail\t", false},
        {".hidden", false},
        {"name.", false},
        {".", false},
        {"..", false},
        {"a\"b", false},
        {"a*b", false},
        {"a/b", false},
        {"a:b", false},
        {"a<b", false},
        {"a>b", false},
        {"a?b", false},
        {"a\\b", false},
        {"a|b", false},
        {"\xC8\xED\xBC\xFE", true},  // 软件
        {"\x81\x5C", true},          // 乗: trail byte is '\'
        {"\x83\x7C", true},          // 億: trail byte is '|'
        {"\x81\x5C\x83\x7C", true},  // 乗億
        {"x\x81\x5C", true},         // ends with a double-byte character
        {"\x81\x5C.", false},        // but a real dot at the end still counts
        {" \x81\x5C", false},        // and so does a real leading space
        {"\x81\x5C|", false},        // a '|' of its own after the character
        {"\x81", false},             // lead byte without trail byte
        {"ab\xFE", false},           // lead byte at the end
        {"\x81\x30", false},         // '0' cannot be a trail byte
        {"\x81\x7F", false},         // 0x7F cannot be a trail byte
        {"\x80", true},              // single-byte character of code page 936
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(folder::isValidFolderName(c.name), c.valid) << '"' << c.name << '"';
    }
}

TEST(FolderName, EmbeddedNulIsInvalid) { EXPECT_FALSE(folder::isValidFolderName(std::string("a\0b", 3))); }

struct PathCase {
    std::string path;
    std::vector<std::string> levels;  // empty: invalid
};

TEST(FolderLevels, SplitsValidPathsAndRejectsMalformedOnes) {
    const PathCase cases[] = {
        {"C:\\", {"C:\\"}},
        {"z:\\", {"z:\\"}},
        {"D:\\Tools", {"D:\\", "D:\\Tools"}},
        {"D:\\Tools\\New\\Sub", {"D:\\", "D:\\Tools", "D:\\Tools\\New", "D:\\Tools\\New\\Sub"}},
        {"D:\\\x81\x5C\\\x83\x7C", {"D:\\", "D:\\\x81\x5C", "D:\\\x81\x5C\\\x83\x7C"}},
        {"D:\\a\x81\x5C"
         "b",
         {"D:\\",
          "D:\\a\x81\x5C"
          "b"}},
        {"D:\\\xC8\xED\xBC\xFE\\x", {"D:\\", "D:\\\xC8\xED\xBC\xFE", "D:\\\xC8\xED\xBC\xFE\\x"}},
        {"", {}},
        {"C:", {}},
        {"C:/", {}},
        {"C:Tools", {}},
        {"1:\\", {}},
        {":\\a", {}},
        {"Tools", {}},
        {"Tools\\Sub", {}},
        {"\\Tools", {}},
        {"\\\\server\\share", {}},
        {"D:\\Tools\\", {}},
        {"D:\\Tools\\\\Sub", {}},
        {"D:\\\\", {}},
        {"D:\\Tools\\.hidden", {}},
        {"D:\\name.", {}},
        {"D:\\ name", {}},
        {"D:\\name \\x", {}},
        {"D:\\a:b", {}},
        {"D:\\a?b", {}},
        {"D:\\a/b", {}},
        {"D:\\a|b", {}},
        {"D:\\a\\\x81", {}},   // cut in the middle of a character
        {"\x81\x5C:\\a", {}},  // a double-byte character is no drive letter
        {std::string("D:\\a\0b", 6), {}},
    };
    for (const PathCase& c : cases) {
        std::vector<std::string> levels{"stale"};
        bool valid = folder::folderLevels(c.path, levels);
        EXPECT_EQ(valid, !c.levels.empty()) << c.path;
        EXPECT_EQ(levels, valid ? c.levels : std::vector<std::string>{}) << c.path;
    }
}

TEST(FolderLevels, LongestAcceptedPathIs259Bytes) {
    std::string path = "C:\\" + std::string(200, 'a') + "\\" + std::string(55, 'b');
    ASSERT_EQ(path.size(), 259u);
    std::vector<std::string> levels;
    EXPECT_TRUE(folder::folderLevels(path, levels));
    EXPECT_FALSE(folder::folderLevels(path + "b", levels));
}

}  // namespace
