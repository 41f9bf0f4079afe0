// The silent copies into an AutoCAD installation folder: the fonts, itextsharp.dll, the
// host-side modules and, for AutoCAD 2008, the replacement plot driver. A file already there is
// replaced by Windows Installer's file-versioning rules (the plot driver always, as the
// plug-in needs its own); what is replaced that is not the plug-in's is kept beside it to be
// put back at uninstall. Nothing is asked; what could not be copied although it could have been
// is logged; what is written and kept goes into the installation's record.
#pragma once

#include <string>

#include "deploy/InstallObserver.h"

class InstallRecorder;

void copyIntoAcadFolder(const std::string& dataFolder, const std::string& location, bool replacePlotDriver,
                        FailureLog& failures, InstallRecorder* recorder = nullptr);
