// Where a program lies, as far as its start at logon goes: in one user's own
// folder, or on a drive that may not be there when the user logs on.
#pragma once

// 1 when the program at path lies inside a user's profile folder: any folder
// in the folder that holds the profiles (ProfileList's ProfilesDirectory),
// except the shared Public. Other users may not open it.
int InAUsersProfileFolder(const char* path);

enum DriveKind {
  kFixedDrive,
  kNetworkDrive,    // a network drive or a UNC path: may not be connected yet at logon
  kRemovableDrive,  // a removable drive or a CD/DVD drive: there only while it is in
};

// What kind of drive the program at path is on, as GetDriveType says of its
// drive's root.
DriveKind ProgramDrive(const char* path);
