// A prepared world for the deployment and engine tests: a private registry, an installer folder
// with its Data folder (the executable path pointed at it), a chosen folder with the plug-in's
// folder below it, and a per-user application-data folder named by APPDATA.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/Sandbox.h"

// Sets (or, with nullptr, removes) an environment variable for the scope.
class ScopedEnvironment {
   public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

   private:
    std::string name_;
    std::string previous_;
    bool wasSet_;
};

struct DeployWorld {
    DeployWorld();
    ~DeployWorld();
    RegistrySandbox registry;
    TempFolder root;
    std::string installer;  // holds SetUp.exe (as far as the executable path says)
    std::string data;       // installer\Data
    std::string chosen;     // not created: the installation creates it
    std::string target;     // chosen\T-DodudEdiv
    std::string appData;    // the APPDATA value during the test
    ScopedEnvironment appDataVariable;
};

bool isReadOnly(const std::string& path);
// The access-allowed entries of a file's or folder's DACL as "SID:mask", in order.
std::vector<std::string> allowedEntries(const std::string& path);
void makeReadOnly(const std::string& path);
