// The logon program (TorlenUserSetup.exe) that SetUpCmd.exe carries as a resource, to write it
// into the plug-in's folder: shared by the resource script and the engine.
#pragma once

#define IDR_LOGON_PROGRAM 301
