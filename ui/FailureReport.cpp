// The failure message shown before the finish page; see FailureReport.h.
#include "ui/FailureReport.h"

#include "deploy/FileOperations.h"
#include "framework/MessageBox.h"
#include "framework/NarrowString.h"

namespace {
// A long list would not fit on the screen: the first entries are named, the rest counted.
const size_t kListedEntries = 8;

std::string listSection(const char* heading, const StringList& entries) {
    if (entries.empty()) return std::string();
    std::string text = std::string(heading) + "\n";
    for (size_t i = 0; i < entries.size() && i < kListedEntries; ++i) text += "    " + entries[i] + "\n";
    if (entries.size() > kListedEntries)
        text += narrow::format("    ……等共 %u 项\n", static_cast<unsigned>(entries.size()));
    return text + "\n";
}
}  // namespace

void reportSilentFailures(HWND owner, const AcadReleaseTable& table, const StringList& ignoredFiles) {
    if (ignoredFiles.empty() && table.registrationFailures.empty() && table.releaseCopyFailures.empty())
        return;
    // Only when no file was left out may the message say that the files were copied.
    std::string text = ignoredFiles.empty()
                           ? "文件已复制到安装目录，但以下项目未能完成，AutoCAD 可能无法加载批打印软件：\n\n"
                           : narrow::format(
                                 "安装未全部完成：有 %u 个文件按您的选择被跳过，没有复制。以下项目未能完成，"
                                 "AutoCAD 可能无法加载批打印软件：\n\n",
                                 static_cast<unsigned>(ignoredFiles.size()));
    text += listSection("被跳过的文件：", ignoredFiles);
    text += listSection("未能写入的注册表项：", table.registrationFailures);
    text += listSection("未能复制到 AutoCAD 安装目录的文件：", table.releaseCopyFailures);
    text += "请关闭 AutoCAD，然后右键单击 SetUp.exe，选择“以管理员身份运行”，重新安装。";
    showMessageBox(owner, text, kSetupCaption, MB_OK | MB_ICONWARNING);
}
