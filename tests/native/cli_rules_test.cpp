// SetUpCmd.exe's command line and JSON strings.
#include <gtest/gtest.h>

#include "cli/CommandLineRules.h"
#include "cli/JsonRules.h"

using namespace cli;

namespace {
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        result.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return result;
}
}  // namespace

TEST(CommandLine, TakesWhatIsGivenAndRefusesTheRestWithAReason) {
    const struct {
        const char* arguments;
        const char* reason;  // empty: accepted
    } cases[] = {
        {"list --json", ""},
        {"install --folder C:\\T --releases 2007,2026 --on-copy-failure ignore --all-users", ""},
        {"--help", ""},
        {"status --help", ""},
        {"uninstall --purge --log C:\\u.log", ""},
        {"user-setup --folder C:\\T", ""},
        {"", "no command given"},
        {"instal --folder C:\\T", "unknown command \"instal\""},
        {"install", "install needs --folder <dir>"},
        {"install --folder", "--folder needs a value"},
        {"install --folder C:\\T --folder D:\\T", "--folder is given twice"},
        {"install --folder C:\\T --purge", "unknown option \"--purge\" for install"},
        {"install --folder C:\\T --Json", "unknown option \"--Json\" for install"},
        {"list --folder C:\\T", "unknown option \"--folder\" for list"},
        {"install --folder C:\\T --releases 2006", "\"2006\" is not a release from 2007 to 2026"},
        {"install --folder C:\\T --releases 2018,", "\"\" is not a release"},
        {"install --folder C:\\T --releases 2018,2018", "2018 is named twice"},
        {"install --folder C:\\T --releases +201", "\"+201\" is not a release"},
        {"install --folder C:\\T --on-copy-failure retry", "takes abort or ignore, not \"retry\""},
    };
    for (const auto& c : cases) {
        CommandLine line;
        std::string reason;
        bool accepted = parseCommandLine(words(c.arguments), line, reason);
        EXPECT_EQ(accepted, *c.reason == '\0') << c.arguments << ": " << reason;
        if (*c.reason) EXPECT_NE(reason.find(c.reason), std::string::npos) << c.arguments << ": " << reason;
    }
}

TEST(CommandLine, FillsTheOptions) {
    CommandLine line;
    std::string reason;
    ASSERT_TRUE(parseCommandLine(words("install --on-copy-failure ignore --releases 2026,2007 --data "
                                       "D:\\Data --folder C:\\T --all-users"),
                                 line, reason));
    EXPECT_EQ(line.command, Command::Install);
    EXPECT_EQ(line.folder, "C:\\T");
    EXPECT_EQ(line.data, "D:\\Data");
    EXPECT_EQ(line.releases, (std::vector<int>{2026, 2007}));
    EXPECT_EQ(line.onCopyFailure, OnCopyFailure::Ignore);
    EXPECT_TRUE(line.allUsers);
    ASSERT_TRUE(parseCommandLine(words("status --releases all"), line, reason));
    EXPECT_TRUE(line.releases.empty());
    EXPECT_EQ(line.onCopyFailure, OnCopyFailure::Abort);
}

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsUtf8) {
    EXPECT_EQ(jsonString("C:\\Program Files\\AutoCAD"), "\"C:\\\\Program Files\\\\AutoCAD\"");
    EXPECT_EQ(jsonString("a\"b\nc\td\x01"), "\"a\\\"b\\nc\\u0009d\\u0001\"");
    EXPECT_EQ(jsonString("\xE7\xAE\x80\xE4\xBD\x93"), "\"\xE7\xAE\x80\xE4\xBD\x93\"");  // 简体, as given
}
