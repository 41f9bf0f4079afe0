// Where the installation's files come from and where the user's own go: the setup data folder
// and what it holds, the per-user folder's parent, and the user's log.
#pragma once

#include <string>
#include <vector>

// The executable's folder followed by "\Data" when that is a folder, else the executable's
// folder when it holds the file TL_DodudEdiv2010.arx. False when there is neither (the
// installation files were probably not unpacked); the caller tells whoever runs it.
bool findSetupDataFolder(std::string& folder);
// The folder a front end names (less a trailing backslash) when it is one, else, when none
// is named, the setup data folder beside the program; false when neither is there.
bool locateSetupDataFolder(const std::string& named, std::string& folder);

// One entry of the setup data folder.
struct DataEntry {
    std::string name;
    bool isFolder;
};
// Every entry of the folder, however many, "." and ".." included, as the file system lists
// them. 0, or the Windows error: a folder that cannot be listed, or whose listing breaks off
// (a network folder gone, a damaged disk), is not an empty one.
unsigned long listDataFolder(const std::string& folder, std::vector<DataEntry>& entries);

// The parent of the per-user folder: "APPDATA" when it is set and usable, else the shell's
// roaming application-data folder; empty when neither can be determined.
std::string userAppDataFolder();

// Where SetUp.exe and the logon step keep their log: TorlenSetup.log in the user's temporary
// folder (%TEMP%).
std::wstring userLogPath();

// target = path, less one trailing backslash.
void assignFolderPath(std::string& target, std::string path);
