// The message that tells the user, before the finish page, what the installation could not
// do (files the user chose to leave out, registry keys, files in AutoCAD folders) and what
// to do.
#pragma once

#include <windows.h>

#include "acad/AcadReleaseTable.h"

// Shows one message when anything failed; shows nothing otherwise.
void reportSilentFailures(HWND owner, const AcadReleaseTable& table, const StringList& ignoredFiles);
