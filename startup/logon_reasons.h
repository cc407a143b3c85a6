// Why Windows will not start a Startup-folder entry at logon, or may not,
// gathered in one place: the success of a registration says each.
#pragma once

#include "base/limits.h"

enum NotStartedReason {
  kSwitchedOff = 1,                  // the name was switched off in Task Manager
  kManifestAsksElevation = 2,        // the program's manifest asks to run as administrator
  kCompatibilityAsksElevation = 4,   // the compatibility setting does, the manifest not
  kTakenForInstaller = 8,            // Windows' installer detection elevates it
  kOtherUsersCannot = 16,            // all users' entry, the program in one user's own folder
  kOnNetworkDrive = 32,              // the drive may not be connected yet at logon
  kOnRemovableDrive = 64,            // the drive or disc may not be in
  kOthersCanChange = 128,            // all users' entry, the program or its folder changeable by any user
};

// The reasons (NotStartedReason bits; 0 when Windows will start it as meant)
// for the entry fileName of scope's folder that starts program. Only reads:
// the registry, the program's place and its security, and its headers and
// manifest as data, none of its code.
int ReasonsNotStartedAtLogon(StartupScope scope, const char* fileName, const char* program);
