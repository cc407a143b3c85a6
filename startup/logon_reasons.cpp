#include "startup/logon_reasons.h"

#include "startup/compatibility_layers.h"
#include "startup/execution_level.h"
#include "startup/startup_approved.h"

int ReasonsNotStartedAtLogon(StartupScope scope, const char* fileName, const char* program) {
  int reasons = SwitchedOffInWindows(scope, fileName) ? kSwitchedOff : 0;
  // Either elevates the program; the manifest is the program's own word.
  if (AsksToRunAsAdministrator(program)) {
    reasons |= kManifestAsksElevation;
  } else if (CompatibilityAsksElevation(program)) {
    reasons |= kCompatibilityAsksElevation;
  }
  return reasons;
}
