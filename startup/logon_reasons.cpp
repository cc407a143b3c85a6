#include "startup/logon_reasons.h"

#include "base/text.h"

#include "startup/compatibility_layers.h"
#include "startup/execution_level.h"
#include "startup/file_security.h"
#include "startup/installer_detection.h"
#include "startup/program_machine.h"
#include "startup/program_place.h"
#include "startup/startup_approved.h"

int ReasonsNotStartedAtLogon(StartupScope scope, const char* fileName, const char* program) {
  WCHAR wideName[kPathSize];
  int reasons = WidenPath(fileName, wideName, kPathSize) && SwitchedOffInWindows(scope, wideName) ? kSwitchedOff : 0;
  WORD machine = ProgramMachine(program);
  ACTCTX_REQUESTED_RUN_LEVEL level = ManifestRunLevel(program, machine);
  int layers = CompatibilityLayers(program);
  // "The RunAsInvoker fix overrules both installer detection and manifest
  // processing" (Microsoft, "Using the RunAsInvoker Fix"). RUNASADMIN beside
  // it still elevates: the ticked checkbox is the user's latest word. The
  // manifest, the program's own word, stands before the setting.
  int asInvoker = (layers & kLayerRunAsInvoker) != 0;
  if (!asInvoker && RunLevelElevates(level)) {
    reasons |= kManifestAsksElevation;
  } else if ((layers & kLayerRunAsAdministrator) != 0) {
    reasons |= kCompatibilityAsksElevation;
  } else if (!asInvoker && TakenForInstaller(program, machine, level)) {
    reasons |= kTakenForInstaller;
  }
  if (scope == kScopeAllUsers && InAUsersProfileFolder(program)) reasons |= kOtherUsersCannot;
  switch (ProgramDrive(program)) {
    case kNetworkDrive:
      reasons |= kOnNetworkDrive;
      break;
    case kRemovableDrive:
      reasons |= kOnRemovableDrive;
      break;
    default:
      break;
  }
  // It starts in the session of everyone who logs in, administrators too:
  // whoever can change it runs their program with their rights.
  if (scope == kScopeAllUsers && StandardUsersCanChange(program)) reasons |= kOthersCanChange;
  return reasons;
}
