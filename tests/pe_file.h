// Reads a PE file's headers, imports and resources from its bytes alone, so
// the shipped 32-bit program can be checked on a machine that cannot run it.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace pe {

struct Resource {
  int type;           // numeric types only; a named type fails the parse
  std::string name;   // "#106" for numeric names
  WORD language;
  std::string data;
};

struct Section {
  std::string name;
  DWORD characteristics;
  std::string data;  // its bytes in the file
};

struct File {
  WORD machine = 0;
  WORD subsystem = 0;
  DWORD timeDateStamp = 0xFFFFFFFF;
  WORD characteristics = 0;      // of the file header
  WORD dllCharacteristics = 0;   // of the optional header
  DWORD relocationsSize = 0;     // of the base relocation directory
  std::vector<Section> sections;
  std::map<std::string, std::vector<std::string>> imports;  // DLL (lower case) -> function names
  std::vector<Resource> resources;
};

bool Parse(const std::string& bytes, File* file, std::string* error);

// One node of a version record: key, value bytes and children.
struct VersionNode {
  std::wstring key;
  std::string value;
  bool text = false;
  std::vector<VersionNode> children;
};
bool ParseVersion(const std::string& bytes, VersionNode* root);

}  // namespace pe
