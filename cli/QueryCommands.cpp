// The commands that only look: list (the releases found) and status (what of the plug-in is
// in place), as text for a person or as JSON for a script.
#include "acad/PluginStatus.h"
#include "cli/CmdTexts.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/JsonRules.h"
#include "cli/ReleaseChoice.h"
#include "framework/BuildConstants.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"
#include "framework/WideText.h"

namespace cli {

namespace {

std::string keyName(const std::string& productKey) {
    return path::withoutTrailingSeparator("HKEY_LOCAL_MACHINE\\" + productKey, isSystemLeadByte);
}

std::string jsonText(const std::string& systemText) { return jsonString(utf8OfSystem(systemText)); }
std::string jsonBool(bool value) { return value ? "true" : "false"; }

std::string jsonItems(const std::vector<PresentItem>& items, const char* nameKey, const char* stateKey) {
    std::string json = "[";
    for (const PresentItem& item : items) {
        if (json.size() > 1) json += ",";
        json += std::string("{\"") + nameKey + "\":" + jsonText(item.name) + ",\"" + stateKey +
                "\":" + jsonBool(item.present) + "}";
    }
    return json + "]";
}

std::string jsonRelease(int year, const std::string& productName, const std::string& productKey,
                        const std::string& location) {
    return "{\"year\":" + std::to_string(year) + ",\"productName\":" + jsonText(productName) +
           ",\"productKey\":" + jsonText(keyName(productKey)) + ",\"location\":" + jsonText(location);
}

std::wstring releaseLine(int year, const std::string& productName, const std::string& productKey,
                         const std::string& location) {
    return L"  " + decimalText(static_cast<unsigned long>(year)) + L"  " +
           widenFromSystemCodePage(productName) + L"  " + widenFromSystemCodePage(keyName(productKey)) +
           L"  " + widenFromSystemCodePage(location) + L"\r\n";
}

void writeItems(const std::vector<PresentItem>& items) {
    for (const PresentItem& item : items)
        writeOut(std::wstring(item.present ? L"    [有] " : L"    [缺] ") +
                 widenFromSystemCodePage(item.name) + L"\r\n");
}

void writeStatusText(const PluginStatus& status, const std::vector<int>& notFound, bool complete) {
    for (const InstallationStatus& at : status.installations) {
        writeOut(L"AutoCAD " + decimalText(static_cast<unsigned long>(at.year)) + L"  " +
                 widenFromSystemCodePage(at.location) +
                 (at.complete() ? L"：已安装\r\n" : L"：未安装或不完整\r\n"));
        writeItems(at.keys);
        writeItems(at.loaders);
        writeItems(at.files);
    }
    writeOut(L"当前用户的 AutoCAD 配置信任插件目录：\r\n");
    writeItems(status.profiles);
    for (int year : notFound)
        writeOut(L"未找到 AutoCAD " + decimalText(static_cast<unsigned long>(year)) + L"\r\n");
    writeOut(complete ? L"结果：已完整安装" + editionWords() + L"\r\n"
                      : L"结果：未安装或安装不完整" + editionWords() + L"\r\n");
}

void writeStatusJson(const PluginStatus& status, const std::vector<int>& notFound, bool complete) {
    std::string json = "{\"edition\":" + std::to_string(platformBits) +
                       ",\"complete\":" + jsonBool(complete) + ",\"releases\":[";
    for (std::size_t i = 0; i < status.installations.size(); ++i) {
        const InstallationStatus& at = status.installations[i];
        json += std::string(i ? ",\n" : "\n") +
                jsonRelease(at.year, at.productName, at.productKey, at.location) +
                ",\"complete\":" + jsonBool(at.complete()) +
                ",\"keys\":" + jsonItems(at.keys, "path", "present") +
                ",\"loaders\":" + jsonItems(at.loaders, "path", "present") +
                ",\"files\":" + jsonItems(at.files, "path", "present") + "}";
    }
    json += "],\n\"pluginFolders\":[";
    for (std::size_t i = 0; i < status.pluginFolders.size(); ++i)
        json += (i ? "," : "") + jsonText(status.pluginFolders[i]);
    json += "],\n\"profiles\":" + jsonItems(status.profiles, "key", "trusted") + ",\n\"notFound\":[";
    for (std::size_t i = 0; i < notFound.size(); ++i) json += (i ? "," : "") + std::to_string(notFound[i]);
    writeOut(fromUtf8(json + "]}\n"));
}

}  // namespace

int listReleases(const CommandLine& line) {
    AcadReleaseTable table;
    table.findAcadReleases();
    ReleaseChoice found = chooseReleases(table, {});
    std::string json = "{\"edition\":" + std::to_string(platformBits) + ",\"releases\":[";
    std::wstring text;
    for (int index = 0; index < kReleaseCount; ++index) {
        if (!found.selection[index]) continue;
        for (std::size_t k = 0; k < table.locations[index].size(); ++k) {
            const std::string& key = table.productKeys[index][k];
            const std::string& location = table.locations[index][k];
            std::string name = productNameOf(key);
            json += std::string(json.back() == '[' ? "\n" : ",\n") +
                    jsonRelease(kFirstReleaseYear + index, name, key, location) + "}";
            text += releaseLine(kFirstReleaseYear + index, name, key, location);
        }
    }
    if (line.json)
        writeOut(fromUtf8(json + "]}\n"));
    else
        writeOut(text.empty() ? L"未找到本版本可安装的 AutoCAD" + editionWords() + L"\r\n"
                              : L"找到的 AutoCAD" + editionWords() + L"：\r\n" + text);
    return kDone;
}

int reportStatus(const CommandLine& line) {
    AcadReleaseTable table;
    table.findAcadReleases();
    ReleaseChoice choice = chooseReleases(table, line.releases);
    if (choice.unserved) {
        writeError(unservedWords(choice.unserved) + L"\r\n");
        return kBadArguments;
    }
    PluginStatus status = inspectPlugin(table, choice.selection, platformBits);
    bool complete = status.complete() && choice.notFound.empty();
    if (line.json)
        writeStatusJson(status, choice.notFound, complete);
    else
        writeStatusText(status, choice.notFound, complete);
    return complete ? kDone : kNotInstalled;
}

}  // namespace cli
