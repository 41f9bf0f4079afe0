// A registry key as the installer names and records it: a predefined root and a path below it.
// Opening one follows the rules of the registry redirector and of the narrow functions in one
// place (see KeyPath.cpp), so that every key written can be found again the same way.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Registry.h"

struct KeyPath {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::string path;  // below root; a trailing backslash is allowed (product keys carry one)

    // "HKEY_LOCAL_MACHINE\<path>" as a log names it (HKEY_CURRENT_USER, HKEY_USERS likewise).
    std::string name() const;
    // The path below, joined with one backslash.
    KeyPath operator/(const std::string& below) const;

    LONG open(RegistryKey& key, REGSAM access) const;
    LONG create(RegistryKey& key, REGSAM access) const;
    bool exists() const;
};

// The name of a predefined root as a log writes it.
std::string rootName(HKEY root);
