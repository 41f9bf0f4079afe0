// The commands that only look: list (the releases found) and status (what of the plug-in is
// in place), as text for a person or as JSON for a script.
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
    for (const PresentItem& item : items) writeOut(itemState(item.name, item.present));
}

void writeStatusText(const PluginStatus& status, const std::vector<int>& notFound, bool complete) {
    for (const InstallationStatus& at : status.installations) {
        writeOut(installationState(at.year, at.location, at.complete()));
        writeItems(at.keys);
        writeItems(at.loaders);
        writeItems(at.files);
    }
    writeOut(kProfilesHeading);
    writeItems(status.profiles);
    writeOut(installedBuildLine(status.installedBuild, status.recordComplete));
    for (int year : notFound) writeOut(releaseNotFound(year));
    writeOut(statusResult(complete));
}

void writeStatusJson(const PluginStatus& status, const std::vector<int>& notFound, bool complete) {
    std::string json = "{\"edition\":" + std::to_string(platformBits) +
                       ",\"complete\":" + jsonBool(complete) +
                       ",\"installedBuild\":" + std::to_string(status.installedBuild) +
                       ",\"lastRunFinished\":" + jsonBool(status.recordComplete) + ",\"releases\":[";
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
    const AcadInstallations installations = findAcadReleases();
    ReleaseChoice found = chooseReleases(installations, {});
    std::string json = "{\"edition\":" + std::to_string(platformBits) + ",\"releases\":[";
    std::wstring text;
    for (const AcadInstallation& at : selectedInstallations(installations, found.selection)) {
        std::string name = productNameOf(at.productKey);
        json += std::string(json.back() == '[' ? "\n" : ",\n") +
                jsonRelease(at.year, name, at.productKey, at.location) + "}";
        text += releaseLine(at.year, name, at.productKey, at.location);
    }
    if (line.json)
        writeOut(fromUtf8(json + "]}\n"));
    else
        writeOut(releasesFound(!text.empty()) + text);
    return kDone;
}

int reportStatus(const CommandLine& line) {
    const AcadInstallations installations = findAcadReleases();
    ReleaseChoice choice = chooseReleases(installations, line.releases);
    if (choice.unserved) {
        writeError(unservedWords(choice.unserved) + L"\r\n");
        return kBadArguments;
    }
    PluginStatus status = inspectPlugin(installations, choice.selection, platformBits);
    // A detection rule that asks for a build is satisfied by that build or a later one only.
    bool complete = status.complete() && choice.notFound.empty() &&
                    status.installedBuild >= static_cast<unsigned long>(line.minVersion);
    if (line.json)
        writeStatusJson(status, choice.notFound, complete);
    else
        writeStatusText(status, choice.notFound, complete);
    return complete ? kDone : kNotInstalled;
}

}  // namespace cli
