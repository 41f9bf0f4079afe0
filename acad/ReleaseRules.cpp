// Release year test, module and library years per release, demand-load key layout.
#include "acad/ReleaseRules.h"

#include <array>

#include "deploy/DeployRules.h"

namespace acad {

int releaseYearOfProductName(const std::string& productName, int lastYear) {
    for (int year = kFirstReleaseYear; year <= lastYear && year <= kLastReleaseYear; ++year) {
        std::size_t found = productName.find(std::to_string(year));
        // Only the first occurrence counts, and it must not be at the very start.
        if (found != std::string::npos && found > 0) return year;
    }
    return 0;
}

namespace {
// Which module and host-side library family serves each release, 2007 first. Module families:
// 2008 (2007, 2008), 2009, 2010 (2010-2012), 2013 (2013, 2014), 2015 (2015, 2016), 2017, 2018,
// 2019 (2019, 2020), 2021 (2021-2024), 2025 (2025, 2026). Library families: 2007 (2007, 2008),
// 2009, 2010 (2010-2012), 2013.
constexpr std::array<ReleaseFiles, kReleaseCount> kReleaseFiles = {{
    {2008, 2007}, {2008, 2007}, {2009, 2009}, {2010, 2010}, {2010, 2010}, {2010, 2010}, {2013, 2013},
    {2013, 2013}, {2015, 2013}, {2015, 2013}, {2017, 2013}, {2018, 2013}, {2019, 2013}, {2019, 2013},
    {2021, 2013}, {2021, 2013}, {2021, 2013}, {2021, 2013}, {2025, 2013}, {2025, 2013},
}};

// "TL_DodudEdiv<year>" (with "_32" for the 32-bit side), and its module in the target folder.
std::string moduleName(int year, bool thirtyTwoBit) {
    return kModuleStem + std::to_string(year) + (thirtyTwoBit ? kThirtyTwoBitSuffix : "");
}
DemandLoadKey moduleKey(int keyYear, int fileYear, bool thirtyTwoBit, const std::string& installFolder) {
    return {std::string("Applications\\") + moduleName(keyYear, thirtyTwoBit),
            path::join(installFolder, moduleName(fileYear, thirtyTwoBit) + kModuleExtension), false};
}
}  // namespace

bool releaseFiles(int year, ReleaseFiles& files) {
    if (year < kFirstReleaseYear || year > kLastReleaseYear) return false;
    files = kReleaseFiles[static_cast<std::size_t>(year - kFirstReleaseYear)];
    return true;
}

std::vector<DemandLoadKey> demandLoadKeys(int year, int platformBits, const std::string& installFolder,
                                          const std::string& location) {
    std::vector<DemandLoadKey> keys;
    ReleaseFiles files;
    if (!releaseFiles(year, files)) return keys;
    keys.push_back(moduleKey(year, files.moduleYear, false, installFolder));
    // The 64 edition also registers the module built for the 32-bit side of these two
    // releases.
    if (platformBits == 64 && year == 2009) keys.push_back(moduleKey(2008, 2008, false, installFolder));
    if (platformBits == 64 && year == 2010) keys.push_back(moduleKey(2010, 2010, true, installFolder));
    keys.push_back(
        {std::string("Applications\\") + kLibraryKeyPrefix + std::to_string(year) + kLibraryKeySuffix,
         path::join(location, hostModuleName(files.libraryYear)), true});
    return keys;
}

RootedKeyPath splitAtReleaseRoot(const std::string& keyPath) {
    for (const char* root : {kWow64ReleaseRoot, kNativeReleaseRoot}) {
        std::string prefix = std::string(root) + "\\";
        if (keyPath.compare(0, prefix.size(), prefix) == 0) return {root, keyPath.substr(prefix.size())};
    }
    return {std::string(), keyPath};
}

bool sameKeyBelowOtherRoot(const std::string& keyPath, const std::string& otherKeyPath) {
    RootedKeyPath one = splitAtReleaseRoot(keyPath);
    RootedKeyPath other = splitAtReleaseRoot(otherKeyPath);
    return !one.root.empty() && !other.root.empty() && one.root != other.root &&
           one.belowRoot == other.belowRoot;
}

void stripTrailingBackslash(std::string& folder, path::LeadByteTest isLeadByte) {
    if (path::lastSeparator(folder, isLeadByte) != 0)
        folder = path::withoutTrailingSeparator(folder, isLeadByte);
}

namespace {
// text = prefix, four digits, suffix (prefix and suffix compared without regard to case).
bool isYearName(const std::string& text, const std::string& head, const std::string& tail) {
    if (text.size() != head.size() + 4 + tail.size()) return false;
    for (std::size_t i = head.size(); i < head.size() + 4; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return narrow::equalsIgnoreCase(text.substr(0, head.size()), head) &&
           narrow::equalsIgnoreCase(text.substr(head.size() + 4), tail);
}
}  // namespace

bool editionServes(int year, int platformBits) {
    return year >= kFirstReleaseYear && year <= (platformBits == 32 ? 2016 : kLastReleaseYear);
}

bool isPluginKeyName(const std::string& name) {
    return isYearName(name, kModuleStem, "") || isYearName(name, kModuleStem, kThirtyTwoBitSuffix) ||
           isYearName(name, kLibraryKeyPrefix, kLibraryKeySuffix);
}

bool isPluginModuleName(const std::string& fileName) {
    return isYearName(fileName, kModuleStem, kModuleExtension) ||
           isYearName(fileName, kModuleStem, std::string(kThirtyTwoBitSuffix) + kModuleExtension);
}

bool isHostModuleName(const std::string& fileName) {
    return isYearName(fileName, kHostModulePrefix, kHostModuleSuffix);
}

bool isAcadProcessName(const std::string& exeName) {
    std::string lower = exeName;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower.find("acad.exe") != std::string::npos;
}

}  // namespace acad
