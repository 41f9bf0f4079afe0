// The silent copies into an AutoCAD installation folder: the fonts, itextsharp.dll, the
// host-side modules and, for AutoCAD 2008, the replacement plot driver (AutoCAD's own kept).
// Nothing is asked; what could not be copied although it could have been is logged.
#pragma once

#include <string>

#include "deploy/InstallObserver.h"

void copyIntoAcadFolder(const std::string& dataFolder, const std::string& location, bool replacePlotDriver,
                        FailureLog& failures);
