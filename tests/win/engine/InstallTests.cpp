// install() and uninstall() as a front end calls them, on a machine of their own (a private
// registry with an AutoCAD 2008 and a user profile, the installer's Data folder, a per-user
// folder): what stops a run before anything changes and in which order, that a run stopped at any
// kind of change leaves the machine as it was, what a finished run put where, and the record an
// uninstallation walks back.
#include <gtest/gtest.h>

#include <algorithm>

#include "acad/AcadRegistry.h"
#include "deploy/DeployWorld.h"
#include "deploy/InstallFolders.h"
#include "engine/Engine.h"
#include "framework/Files.h"
#include "framework/ShellFolders.h"
#include "journal/RecordStore.h"

namespace {

using Answer = FailureAnswer;
using Result = InstallOutcome::Result;
using Reason = Refusal::Reason;

const std::string kVariables =
    "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<Unnamed Profile>>\\Variables";
const char* const kShipped[] = {"TL_DodudEdiv2008.ARX", "itextsharp.dll", "ACAD2007P.dll", "Torlen_EN.shx",
                                "Torlen_HZ.shx",        "Torlen.prt5",    "Torlen.Ini"};
const char* const kEveryoneMayChange = "D:P(A;OICI;FA;;;WD)";

std::string firstOf(const StringList& list) { return list.empty() ? "<none>" : list.front(); }

std::string contentsOf(const std::string& path) {
    std::string contents;
    return readFile(path, contents) ? contents : "<missing>";
}

// The machine: the Data folder beside SetUp.exe, an AutoCAD 2008 (Fonts and Drv folders, its own
// plot driver) and a profile that trusts another folder; the request installs into world.chosen
// for every release found, for this account.
struct Machine {
    Machine() {
        for (const char* name : kShipped) writeFile(world.data + "\\" + name, std::string("shipped ") + name);
        for (const std::string& folder : {acad, acad + "\\Fonts", acad + "\\Drv"})
            CreateDirectoryA(folder.c_str(), nullptr);
        writeFile(acad + "\\Drv\\pdfplot9.hdi", "AutoCAD's plot driver");
        addInstallation(productKey, acad, "AutoCAD 2008");
        regCreateKey(HKEY_LOCAL_MACHINE,
                     std::string(isWow64Process() ? "SOFTWARE\\Wow6432Node" : "SOFTWARE") +
                         "\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
        regSetWide(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", L"c:\\lib");
        // The shell keeps the folders it is asked for in the registry the first time: asked here,
        // so that what a run changes is all a comparison shows.
        roamingAppDataFolder();
        request.chosenFolder = world.chosen;
        request.releases.fill(1);
    }
    ~Machine() {
        for (HANDLE handle : held) CloseHandle(handle);
        // What a case took away is given back, so that everything can be removed.
        setFolderSecurity(world.data, kEveryoneMayChange);
        setFolderSecurity(acad, kEveryoneMayChange);
        setKeySecurity(HKEY_LOCAL_MACHINE, productKey, "D:P(A;;KA;;;WD)");
        setKeySecurity(HKEY_LOCAL_MACHINE, productKey + "Applications\\TL_DodudEdiv2008", "D:P(A;;KA;;;WD)");
    }
    // Both registry roots and every folder of the world, with every value and every file's bytes.
    std::string state() const {
        return registryExport(HKEY_LOCAL_MACHINE) + registryExport(HKEY_CURRENT_USER) +
               folderExport(world.root.path());
    }
    InstallOutcome install(RecordingObserver& observer) { return ::install(request, observer, log); }
    UninstallOutcome uninstall(RecordingObserver& observer) {
        UninstallRequest thisAccount;
        thisAccount.everyUser = false;
        return ::uninstall(thisAccount, observer, log);
    }
    // Another program holds the file open without sharing it, for the machine's life.
    void hold(const std::string& path) {
        held.push_back(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }

    DeployWorld world;
    std::string acad = world.root / "AutoCAD 2008";
    std::string productKey = ownViewRoot() + "R17.1\\ACAD-6001:804\\";
    InstallRequest request;
    SetupLog log;
    std::vector<HANDLE> held;
};

// A folder path of exactly length characters below the world's folder.
std::string deep(const Machine& m, std::size_t length, char name) {
    const std::string parent = m.world.root / std::string(90, 'p');
    return parent + "\\" + std::string(length - parent.size() - 1, name);
}

}  // namespace

// What stops an installation before it changes anything, in the order the engine looks: each
// row's condition is set up together with those of all the rows after it, and its own refusal
// comes first. The machine is left exactly as it was.
TEST(Install, RefusesBeforeChangingAnythingInItsOrder) {
    const struct {
        const char* what;
        void (*make)(Machine&);
        Reason reason;
        std::string (*subject)(const Machine&);
    } rows[] = {
        {"no folder", [](Machine& m) { m.request.chosenFolder = ""; }, Reason::FolderEmpty,
         [](const Machine&) { return std::string(); }},
        {"a folder with the list separator",
         [](Machine& m) { m.request.chosenFolder = m.world.chosen + ";x"; }, Reason::FolderListSeparator,
         [](const Machine& m) { return m.world.chosen + ";x"; }},
        {"a relative folder", [](Machine& m) { m.request.chosenFolder = "chosen"; }, Reason::FolderInvalid,
         [](const Machine&) { return std::string("chosen"); }},
        {"no AutoCAD of the release asked for",
         [](Machine& m) {
             m.request.releases = ReleaseSelection{};
             m.request.releases[releaseIndex(2014)] = 1;
         },
         Reason::NothingToInstall, [](const Machine&) { return std::string(); }},
        {"a data folder named that is not there",
         [](Machine& m) { m.request.dataFolder = m.world.root / "none"; }, Reason::DataFolderMissing,
         [](const Machine& m) { return m.world.root / "none"; }},
        {"a data folder that cannot be listed", [](Machine& m) { setFolderSecurity(m.world.data, "D:P"); },
         Reason::DataFolderUnreadable, [](const Machine& m) { return m.world.data; }},
        // The plug-in's folder fits (247 characters), its longest file's path (268) does not.
        {"a plug-in file's path too long", [](Machine& m) { m.request.chosenFolder = deep(m, 235, 'c'); },
         Reason::PathTooLong,
         [](const Machine& m) { return deep(m, 235, 'c') + "\\T-DodudEdiv\\TL_DodudEdiv2008.ARX"; }},
        // The earlier plug-in file fits (255), the name it waits under during the run (264) does not.
        {"a replaced plug-in file's waiting name too long",
         [](Machine& m) {
             m.request.chosenFolder = deep(m, 222, 'r');
             CreateDirectoryA((m.world.root / std::string(90, 'p')).c_str(), nullptr);
             CreateDirectoryA(m.request.chosenFolder.c_str(), nullptr);
             CreateDirectoryA((m.request.chosenFolder + "\\T-DodudEdiv").c_str(), nullptr);
             writeFile(m.request.chosenFolder + "\\T-DodudEdiv\\TL_DodudEdiv2008.ARX", "earlier");
         },
         Reason::PathTooLong,
         [](const Machine& m) { return deep(m, 222, 'r') + "\\T-DodudEdiv\\TL_DodudEdiv2008.ARX.torlen-1"; }},
        {"a path in another AutoCAD's folder too long",
         [](Machine& m) {
             CreateDirectoryA((m.world.root / std::string(90, 'p')).c_str(), nullptr);
             CreateDirectoryA(deep(m, 240, 'a').c_str(), nullptr);
             addInstallation(ownViewRoot() + "R17.2\\ACAD-7001:804", deep(m, 240, 'a'), "AutoCAD 2009");
         },
         Reason::PathTooLong,
         [](const Machine& m) { return deep(m, 240, 'a') + "\\itextsharp.dll.original"; }},
        {"a product key this process may not write",
         [](Machine& m) { setKeySecurity(HKEY_LOCAL_MACHINE, m.productKey, kReadOnlySddl); },
         Reason::RightsMissing, [](const Machine& m) { return "HKEY_LOCAL_MACHINE\\" + m.productKey; }},
        {"an AutoCAD folder this process may not write",
         [](Machine& m) { setFolderSecurity(m.acad, "D:P(A;OICI;GRGX;;;WD)"); }, Reason::RightsMissing,
         [](const Machine& m) { return m.acad; }},
        {"a chosen folder others may change, to be refused",
         [](Machine& m) {
             CreateDirectoryA(m.world.chosen.c_str(), nullptr);
             setFolderSecurity(m.world.chosen, kEveryoneMayChange);
             m.request.unsafeChosenFolder = InstallRequest::UnsafeChosenFolder::Refuse;
         },
         Reason::ChosenFolderUnsafe, [](const Machine& m) { return m.world.chosen; }},
        {"a plug-in file another program holds, answered Abort",
         [](Machine& m) {
             CreateDirectoryA(m.world.chosen.c_str(), nullptr);
             CreateDirectoryA(m.world.target.c_str(), nullptr);
             writeFile(m.world.target + "\\TL_DodudEdiv2008.ARX", "earlier");
             m.hold(m.world.target + "\\TL_DodudEdiv2008.ARX");
         },
         Reason::Aborted, [](const Machine& m) { return m.world.target + "\\TL_DodudEdiv2008.ARX"; }},
    };
    const std::size_t count = sizeof rows / sizeof rows[0];
    for (std::size_t row = 0; row < count; ++row) {
        SCOPED_TRACE(rows[row].what);
        Machine m;
        for (std::size_t later = count; later-- > row;) rows[later].make(m);
        const std::string before = m.state();
        RecordingObserver observer({Answer::Abort});
        InstallOutcome outcome = m.install(observer);
        EXPECT_EQ(outcome.result, Result::Refused);
        EXPECT_EQ(outcome.refusal.reason, rows[row].reason);
        EXPECT_EQ(outcome.refusal.subject, rows[row].subject(m));
        EXPECT_EQ(observer.refusals.size(), 1u);
        for (const Refusal& told : observer.refusals) EXPECT_EQ(told.reason, rows[row].reason);
        EXPECT_EQ(observer.asked.size(), rows[row].reason == Reason::Aborted ? 1u : 0u);
        EXPECT_EQ(observer.progressReports, 0);
        EXPECT_EQ(m.state(), before);
    }
}

// A run stopped at any kind of change is rolled back whole: the machine is exactly as it was,
// a clean one and one with an earlier installation alike. Answered Ignore, the run goes on
// without that change (a file left out keeps what was there) and lists it.
TEST(Install, AStoppedRunLeavesTheMachineAsItWas) {
    const struct {
        const char* what;
        std::string (*inject)(Machine&);  // gives the subject of the failure
    } kinds[] = {
        {"a file into the plug-in's folder",
         [](Machine& m) {
             setFolderSecurity(m.world.data + "\\TL_DodudEdiv2008.ARX", "D:P");
             return m.world.target + "\\TL_DodudEdiv2008.ARX";
         }},
        {"a copy into the AutoCAD folder",
         [](Machine& m) {
             const std::string font = m.acad + "\\Fonts\\Torlen_EN.shx";
             if (!fileExists(font)) writeFile(font, "AutoCAD's own");
             m.hold(font);
             return font;
         }},
        // Read-only, and with a subkey, as Wine deletes a read-only key that has none.
        {"a demand-load key",
         [](Machine& m) {
             const std::string key = m.productKey + "Applications\\TL_DodudEdiv2008";
             if (!regKeyExists(HKEY_LOCAL_MACHINE, key))
                 regSetString(HKEY_LOCAL_MACHINE, key, "LOADER", "D:\\Old.ARX");
             regCreateKey(HKEY_LOCAL_MACHINE, key + "\\Sub");
             setKeySecurity(HKEY_LOCAL_MACHINE, key, kReadOnlySddl);
             return "HKEY_LOCAL_MACHINE\\" + key;
         }},
        {"a trusted entry",
         [](Machine&) {
             regSetDword(HKEY_CURRENT_USER, kVariables, "TRUSTEDPATHS", 1);
             return "HKEY_CURRENT_USER\\" + kVariables + "\\TRUSTEDPATHS";
         }},
        {"the settings file into the per-user folder",
         [](Machine& m) {
             const std::string settings = m.world.appData + "\\Torlen\\Torlen.Ini";
             CreateDirectoryA((m.world.appData + "\\Torlen").c_str(), nullptr);
             DeleteFileA(settings.c_str());
             CreateDirectoryA(settings.c_str(), nullptr);
             return settings;
         }},
        {"the chosen folder, whose parent is missing",
         [](Machine& m) { return m.request.chosenFolder = m.world.root / "missing\\chosen"; }},
    };
    for (const auto& kind : kinds) {
        for (bool earlier : {false, true}) {
            for (Answer answer : {Answer::Abort, Answer::Ignore}) {
                SCOPED_TRACE(std::string(kind.what) + (earlier ? ", over an earlier installation" : "") +
                             (answer == Answer::Abort ? ", Abort" : ", Ignore"));
                Machine m;
                RecordingObserver first;
                if (earlier) {
                    EXPECT_EQ(m.install(first).result, Result::Installed);
                }
                const std::string subject = kind.inject(m);
                const std::string before = m.state(), there = contentsOf(subject);
                RecordingObserver observer({answer});
                InstallOutcome outcome = m.install(observer);
                EXPECT_EQ(firstOf(subjectsOf(observer.asked)), subject);
                if (answer == Answer::Abort) {
                    EXPECT_EQ(outcome.result, Result::Stopped);
                    EXPECT_EQ(outcome.refusal.reason, Reason::Aborted);
                    EXPECT_EQ(outcome.refusal.subject, subject);
                    EXPECT_EQ(subjectsOf(outcome.notPutBack), StringList{});
                    EXPECT_EQ(m.state(), before);
                } else {
                    EXPECT_EQ(outcome.result, Result::Installed);
                    EXPECT_EQ(firstOf(subjectsOf(outcome.failures)), subject);
                    EXPECT_EQ(contentsOf(subject), there);
                }
            }
        }
    }
}

// What a finished run put where: the plug-in's files (not what the Data folder holds for AutoCAD
// or the installer) in the protected plug-in folder, made writable whatever the source's bits; the
// settings file in the per-user folder under the name it was shipped with. A chosen folder that
// exists keeps its rights unless others may change it and the request or the user has it
// protected too.
TEST(Install, PutsThePluginInPlaceInProtectedFolders) {
    const std::string everyone = "S-1-1-0", authenticatedUsers = "S-1-5-11", users = "S-1-5-32-545";
    const DWORD write = FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER | DELETE;
    auto othersMayWrite = [&](const std::string& path) {
        for (const std::string& entry : allowedEntries(path)) {
            std::string sid = entry.substr(0, entry.find(':'));
            DWORD mask = std::stoul(entry.substr(entry.find(':') + 1), nullptr, 16);
            if (sid == everyone || sid == authenticatedUsers || (sid == users && (mask & write))) return true;
        }
        return false;
    };
    using Unsafe = InstallRequest::UnsafeChosenFolder;
    const struct {
        const char* what;
        bool chosenExists, othersMayChangeChosen;
        Unsafe unsafe;
        bool protectedAfter;  // the chosen folder
    } rows[] = {
        {"both folders new", false, false, Unsafe::Ask, true},
        {"an existing chosen folder only its owner may change keeps its rights", true, false, Unsafe::Refuse,
         false},
        {"a chosen folder others may change, protected as asked", true, true, Unsafe::Protect, true},
        {"a chosen folder others may change, protected as the user says", true, true, Unsafe::Ask, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Machine m;
        DeleteFileA((m.world.data + "\\Torlen.Ini").c_str());
        writeFile(m.world.data + "\\torlen.ini", "settings");
        writeFile(m.world.data + "\\setup.exe", "the installer");
        CreateDirectoryA((m.world.data + "\\Sub").c_str(), nullptr);
        writeFile(m.world.data + "\\Sub\\inner.txt", "inner");
        makeReadOnly(m.world.data + "\\ACAD2007P.dll");
        if (row.chosenExists) {
            CreateDirectoryA(m.world.chosen.c_str(), nullptr);
            CreateDirectoryA(m.world.target.c_str(), nullptr);
            writeFile(m.world.target + "\\itextsharp.dll", "earlier");
            makeReadOnly(m.world.target + "\\itextsharp.dll");
            if (row.othersMayChangeChosen) {
                ASSERT_TRUE(setFolderSecurity(m.world.chosen, kEveryoneMayChange));
            }
        }
        const std::vector<std::string> chosenBefore = allowedEntries(m.world.chosen);
        EXPECT_EQ(othersMayChange(m.world.chosen), row.othersMayChangeChosen);
        m.request.unsafeChosenFolder = row.unsafe;
        RecordingObserver observer;
        observer.protectAnswer = true;
        InstallOutcome outcome = m.install(observer);
        EXPECT_EQ(outcome.result, Result::Installed);
        EXPECT_TRUE(outcome.failures.empty());
        EXPECT_TRUE(observer.asked.empty());
        EXPECT_EQ(observer.askedToProtect, row.unsafe == Unsafe::Ask && row.othersMayChangeChosen
                                               ? StringList{m.world.chosen}
                                               : StringList{});
        EXPECT_EQ(observer.lastDone, observer.lastTotal);
        EXPECT_EQ(folderEntries(m.world.target),
                  (StringList{"ACAD2007P.dll", "TL_DodudEdiv2008.ARX", "itextsharp.dll"}));
        for (const std::string& name : folderEntries(m.world.target)) {
            EXPECT_EQ(contentsOf(m.world.target + "\\" + name), contentsOf(m.world.data + "\\" + name));
            EXPECT_FALSE(isReadOnly(m.world.target + "\\" + name)) << name;
        }
        EXPECT_TRUE(isReadOnly(m.world.data + "\\ACAD2007P.dll"));
        EXPECT_EQ(folderEntries(m.world.appData + "\\Torlen"), StringList{"torlen.ini"});
        EXPECT_EQ(contentsOf(m.world.appData + "\\Torlen\\torlen.ini"), "settings");
        EXPECT_FALSE(othersMayWrite(m.world.target));
        EXPECT_FALSE(othersMayChange(m.world.target));
        std::vector<std::string> entries = allowedEntries(m.world.target);
        EXPECT_NE(std::find(entries.begin(), entries.end(), "S-1-5-18:1f01ff"), entries.end());
        if (row.protectedAfter) {
            EXPECT_FALSE(othersMayWrite(m.world.chosen));
            EXPECT_FALSE(othersMayChange(m.world.chosen));
        } else {
            EXPECT_EQ(allowedEntries(m.world.chosen), chosenBefore);
        }
    }
}

// A file of the plug-in's folder that another program holds (AutoCAD loads the module from there)
// is asked about before anything changes (answered Abort: see the refusals above).
TEST(Install, FilesHeldInThePluginsFolderAreAskedAboutFirst) {
    struct Cause {
        Machine* machine;
        std::string module;
        int goneAt;  // the question at which the cause goes away
    };
    const struct {
        const char* what;
        bool folderInTheWay;
        std::deque<Answer> answers;
        unsigned long error;
        bool replaced;
    } rows[] = {
        {"retried after the program holding it lets go",
         false,
         {Answer::Retry},
         ERROR_SHARING_VIOLATION,
         true},
        {"a folder in the way, retried until it is gone",
         true,
         {Answer::Retry, Answer::Retry},
         ERROR_ACCESS_DENIED,
         true},
        {"ignored: the old file stays", false, {Answer::Ignore}, ERROR_SHARING_VIOLATION, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Machine m;
        Cause cause{&m, m.world.target + "\\TL_DodudEdiv2008.ARX", static_cast<int>(row.answers.size()) - 1};
        CreateDirectoryA(m.world.chosen.c_str(), nullptr);
        CreateDirectoryA(m.world.target.c_str(), nullptr);
        if (row.folderInTheWay) {
            CreateDirectoryA(cause.module.c_str(), nullptr);
        } else {
            writeFile(cause.module, "earlier");
            m.hold(cause.module);
        }
        RecordingObserver observer(row.answers);
        observer.beforeEachAnswer(
            [](int index, void* context) {
                auto* cause = static_cast<Cause*>(context);
                if (index != cause->goneAt) return;
                for (HANDLE handle : cause->machine->held) CloseHandle(handle);
                cause->machine->held.clear();
                RemoveDirectoryA(cause->module.c_str());
            },
            &cause);
        InstallOutcome outcome = m.install(observer);
        EXPECT_EQ(outcome.result, Result::Installed);
        EXPECT_EQ(observer.asked.size(), row.answers.size());
        for (std::size_t i = 0; i < observer.asked.size(); ++i) {
            EXPECT_EQ(observer.asked[i].subject, cause.module);
            EXPECT_EQ(observer.asked[i].error, row.error);
            EXPECT_EQ(observer.recommendations[i],
                      row.error == ERROR_SHARING_VIOLATION ? Answer::Retry : Answer::Abort);
        }
        EXPECT_EQ(subjectsOf(outcome.failures), row.replaced ? StringList{} : StringList{cause.module});
        EXPECT_EQ(contentsOf(cause.module), row.replaced ? "shipped TL_DodudEdiv2008.ARX" : "earlier");
    }
}

// Without a usable APPDATA (not set, or too long for the settings file's path), the settings file
// goes to the roaming folder the shell names; uninstalled, it goes again.
TEST(Install, TheSettingsFileGoesToTheShellsFolderWhenAppDataIsUnusable) {
    const std::string userFolder = roamingAppDataFolder() + "\\Torlen";
    ASSERT_NE(userFolder, "\\Torlen");
    const std::string tooLong(300, 'x');
    for (const char* value : {static_cast<const char*>(nullptr), tooLong.c_str()}) {
        SCOPED_TRACE(value ? "too long" : "unset");
        Machine m;
        ScopedEnvironment appData("APPDATA", value);
        const bool hadUserFolder = isFolder(userFolder);
        RecordingObserver observer;
        EXPECT_EQ(m.install(observer).result, Result::Installed);
        EXPECT_TRUE(observer.asked.empty());
        EXPECT_EQ(contentsOf(userFolder + "\\Torlen.Ini"), "shipped Torlen.Ini");
        EXPECT_EQ(m.uninstall(observer).result, UninstallOutcome::Result::Uninstalled);
        EXPECT_FALSE(fileExists(userFolder + "\\Torlen.Ini"));
        EXPECT_EQ(isFolder(userFolder), hadUserFolder);
    }
}

// The digest the record keeps of an installed file: empty when there is none.
std::string recordedDigest(const std::string& path) {
    for (const ItemRecord& item : RecordStore::machine().readInstallation().items)
        if (item.kind == kinds::kFile && item.path == path) return item.detail;
    return std::string();
}

// A run over an earlier installation joins its items to the record (each file with the digest of
// what was written): the uninstallation then takes away what either run made and puts back what
// they replaced.
TEST(Install, ARunOverAnEarlierInstallationJoinsItsRecord) {
    Machine m;
    const std::string before = m.state();
    RecordingObserver observer;
    const std::string module = m.world.target + "\\TL_DodudEdiv2008.ARX";
    ASSERT_EQ(m.install(observer).result, Result::Installed);
    EXPECT_EQ(recordedDigest(module), digestOf(module).text);
    EXPECT_EQ(contentsOf(m.acad + "\\Drv\\pdfplot9.hdi.original"), "AutoCAD's plot driver");
    writeFile(m.world.data + "\\TL_DodudEdiv2008.ARX", "module 2");
    writeFile(m.world.data + "\\TL_DodudEdiv2010.arx", "one more module");
    ASSERT_EQ(m.install(observer).result, Result::Installed);
    EXPECT_EQ(contentsOf(module), "module 2");
    EXPECT_EQ(recordedDigest(module), digestOf(module).text);
    EXPECT_EQ(contentsOf(m.world.target + "\\TL_DodudEdiv2010.arx"), "one more module");
    EXPECT_EQ(contentsOf(m.acad + "\\Drv\\pdfplot9.hdi.original"), "AutoCAD's plot driver");
    UninstallOutcome outcome = m.uninstall(observer);
    EXPECT_EQ(outcome.result, UninstallOutcome::Result::Uninstalled);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_TRUE(observer.asked.empty());
    writeFile(m.world.data + "\\TL_DodudEdiv2008.ARX", "shipped TL_DodudEdiv2008.ARX");
    DeleteFileA((m.world.data + "\\TL_DodudEdiv2010.arx").c_str());
    EXPECT_EQ(m.state(), before);
}
