// Whether AutoCAD is running: the installer asks once to close it before copying files
// that AutoCAD may hold open.
#pragma once

// True when a process whose executable name contains "acad.exe" (any case) runs. A failed
// process snapshot counts as AutoCAD not running.
bool isAcadRunning();
