#include "startup/program_machine.h"

WORD ProgramMachine(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  IMAGE_DOS_HEADER dos;
  BYTE header[6];  // "PE\0\0" and the machine
  DWORD read = 0;
  WORD machine = 0;
  if (ReadFile(file, &dos, sizeof dos, &read, NULL) && read == sizeof dos && dos.e_magic == IMAGE_DOS_SIGNATURE &&
      dos.e_lfanew >= static_cast<LONG>(sizeof dos) &&
      SetFilePointer(file, dos.e_lfanew, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
      ReadFile(file, header, sizeof header, &read, NULL) && read == sizeof header && header[0] == 'P' &&
      header[1] == 'E' && header[2] == 0 && header[3] == 0) {
    machine = static_cast<WORD>(header[4] | header[5] << 8);
  }
  CloseHandle(file);
  return machine;
}
