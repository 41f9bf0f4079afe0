// The copies into an AutoCAD installation folder, as work items: the fonts, itextsharp.dll, the
// host-side modules and, for AutoCAD 2008, the replacement plot driver. Only what can be copied
// is planned: a file the data folder does not ship, or a Fonts or Drv folder the installation
// lacks, is passed over (AutoCAD has no use for it there). A file already there is replaced by
// Windows Installer's file-versioning rules (the plot driver always, as the plug-in needs its
// own); what is replaced that is not the plug-in's is kept beside it, to be put back when the
// plug-in goes.
#pragma once

#include <string>
#include <vector>

#include "deploy/DeployRules.h"
#include "journal/WorkItem.h"

// The files of the installation's record, by path: what an earlier installation wrote is the
// plug-in's, not another program's.
using RecordedFiles = std::vector<std::string>;

WorkItems acadFolderCopies(const std::string& dataFolder, const std::string& location, bool replacePlotDriver,
                           const RecordedFiles& recorded);

// The paths those copies read and write, for the length check before anything is created.
std::vector<PlannedPath> acadFolderPaths(const std::string& dataFolder, const std::string& location,
                                         bool replacePlotDriver);
