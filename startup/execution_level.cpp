#include "startup/execution_level.h"

#include <windows.h>

#include "base/limits.h"
#include "base/text.h"

// The record handed to CreateActCtxW holds five pointers.
static_assert(sizeof(ACTCTXW) == (sizeof(void*) == 4 ? 32 : 56), "the activation context record's size");
static_assert(sizeof(ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION) == 12, "the run level record's size");

// The architecture Windows reads a program's manifest for: the program's
// own. Without one named, it reads for the caller's (x86 under WoW64), and an
// amd64 manifest may then be rejected, which would read as asking nothing.
static USHORT ManifestArchitecture(WORD machine) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386:
      return PROCESSOR_ARCHITECTURE_INTEL;
    case IMAGE_FILE_MACHINE_AMD64:
      return PROCESSOR_ARCHITECTURE_AMD64;
    case IMAGE_FILE_MACHINE_ARM64:
      return PROCESSOR_ARCHITECTURE_ARM64;
    default:
      return PROCESSOR_ARCHITECTURE_UNKNOWN;
  }
}

ACTCTX_REQUESTED_RUN_LEVEL ManifestRunLevel(const char* path, WORD machine) {
  WCHAR widePath[kPathSize];
  ACTCTXW request;
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION information;
  HANDLE context = INVALID_HANDLE_VALUE;
  ZeroMemory(&request, sizeof request);
  ZeroMemory(&information, sizeof information);
  information.RunLevel = ACTCTX_RUN_LEVEL_UNSPECIFIED;

  if (WidenPath(path, widePath, kPathSize)) {
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = widePath;
    request.lpResourceName = MAKEINTRESOURCEW(1);
    request.wProcessorArchitecture = ManifestArchitecture(machine);
    if (request.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_UNKNOWN) {
      request.dwFlags |= ACTCTX_FLAG_PROCESSOR_ARCHITECTURE_VALID;
    }
    context = CreateActCtxW(&request);
  }
  if (context != INVALID_HANDLE_VALUE) {
    SIZE_T written = 0;
    if (!QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &information, sizeof information,
                         &written)) {
      information.RunLevel = ACTCTX_RUN_LEVEL_UNSPECIFIED;
    }
    ReleaseActCtx(context);
  }
  return information.RunLevel;
}

// An administrator under UAC holds a limited token at logon, or a full one
// when elevated; a standard user's token (and any with UAC off) is of the
// default type.
static int AdministratorUnderUac() {
  HANDLE token = NULL;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) type = TokenElevationTypeDefault;
    CloseHandle(token);
  }
  return type == TokenElevationTypeLimited || type == TokenElevationTypeFull;
}

int RunLevelElevates(ACTCTX_REQUESTED_RUN_LEVEL level) {
  return level == ACTCTX_RUN_LEVEL_REQUIRE_ADMIN ||
         (level == ACTCTX_RUN_LEVEL_HIGHEST_AVAILABLE && AdministratorUnderUac());
}
