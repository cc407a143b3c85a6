#include "tests/pe_file.h"

#include <algorithm>

namespace pe {

namespace {

bool Fail(std::string* error, const std::string& what) {
  *error = what;
  return false;
}

struct Image {
  const std::string& bytes;
  std::vector<IMAGE_SECTION_HEADER> sections;

  template <typename T>
  bool Read(size_t offset, T* out) const {
    if (offset + sizeof(T) > bytes.size()) return false;
    memcpy(out, bytes.data() + offset, sizeof(T));
    return true;
  }
  // File offset of a relative virtual address, or 0 when no section holds it.
  size_t Offset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& s : sections) {
      DWORD size = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + size) return rva - s.VirtualAddress + s.PointerToRawData;
    }
    return 0;
  }
  std::string CString(DWORD rva) const {
    size_t at = Offset(rva);
    if (at == 0) return "";
    size_t end = bytes.find('\0', at);
    return bytes.substr(at, end == std::string::npos ? std::string::npos : end - at);
  }
};

bool ReadResourceTree(const Image& image, size_t base, size_t dir, int depth, int type, const std::string& name,
                      File* file, std::string* error) {
  IMAGE_RESOURCE_DIRECTORY header;
  if (!image.Read(dir, &header)) return Fail(error, "resource directory outside the file");
  int entries = header.NumberOfNamedEntries + header.NumberOfIdEntries;
  for (int i = 0; i < entries; ++i) {
    IMAGE_RESOURCE_DIRECTORY_ENTRY entry;
    if (!image.Read(dir + sizeof header + i * sizeof entry, &entry)) return Fail(error, "entry outside");
    std::string label;
    int id = -1;
    if (entry.NameIsString) {
      WORD length = 0;
      image.Read(base + entry.NameOffset, &length);
      std::wstring wide(length, L'\0');
      memcpy(&wide[0], image.bytes.data() + base + entry.NameOffset + 2, length * 2);
      char narrow[512] = "";
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, NULL, NULL);
      label = narrow;
    } else {
      id = entry.Id;
      label = "#" + std::to_string(id);
    }
    if (entry.DataIsDirectory) {
      if (depth == 0 && id < 0) return Fail(error, "named resource type " + label);
      if (!ReadResourceTree(image, base, base + entry.OffsetToDirectory, depth + 1, depth == 0 ? id : type,
                            depth == 1 ? label : name, file, error))
        return false;
    } else {
      IMAGE_RESOURCE_DATA_ENTRY data;
      if (depth != 2 || !image.Read(base + entry.OffsetToData, &data)) return Fail(error, "bad resource leaf");
      size_t at = image.Offset(data.OffsetToData);
      if (at == 0 || at + data.Size > image.bytes.size()) return Fail(error, "resource data outside the file");
      file->resources.push_back({type, name, static_cast<WORD>(id), image.bytes.substr(at, data.Size)});
    }
  }
  return true;
}

// The fields read from the optional header, 32-bit or 64-bit alike.
template <typename Header>
bool ReadOptionalHeader(const Image& image, size_t at, File* file, IMAGE_DATA_DIRECTORY* imports,
                        IMAGE_DATA_DIRECTORY* resources, IMAGE_DATA_DIRECTORY* relocations) {
  Header h;
  if (!image.Read(at, &h)) return false;
  file->subsystem = h.Subsystem;
  file->dllCharacteristics = h.DllCharacteristics;
  *imports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  *resources = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  *relocations = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
  return true;
}

}  // namespace

bool Parse(const std::string& bytes, File* file, std::string* error) {
  Image image{bytes, {}};
  IMAGE_DOS_HEADER dos;
  if (!image.Read(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return Fail(error, "no MZ header");
  DWORD signature = 0;
  IMAGE_FILE_HEADER header;
  size_t at = dos.e_lfanew;
  if (!image.Read(at, &signature) || signature != IMAGE_NT_SIGNATURE || !image.Read(at + 4, &header))
    return Fail(error, "no PE header");
  file->machine = header.Machine;
  file->timeDateStamp = header.TimeDateStamp;
  file->characteristics = header.Characteristics;
  size_t optional = at + 4 + sizeof header;
  WORD magic = 0;
  image.Read(optional, &magic);
  IMAGE_DATA_DIRECTORY imports, resources, relocations;
  if (magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC && magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    return Fail(error, "unknown optional header");
  bool whole = magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC
                  ? ReadOptionalHeader<IMAGE_OPTIONAL_HEADER32>(image, optional, file, &imports, &resources, &relocations)
                  : ReadOptionalHeader<IMAGE_OPTIONAL_HEADER64>(image, optional, file, &imports, &resources, &relocations);
  if (!whole) return Fail(error, "short optional header");
  size_t sections = optional + header.SizeOfOptionalHeader;
  for (int i = 0; i < header.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER s;
    if (!image.Read(sections + i * sizeof s, &s)) return Fail(error, "short section table");
    image.sections.push_back(s);
    std::string data = s.PointerToRawData < bytes.size() ? bytes.substr(s.PointerToRawData, s.SizeOfRawData) : "";
    file->sections.push_back({std::string(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8)),
                              s.Characteristics, data});
  }

  file->relocationsSize = relocations.Size;
  bool wide = magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
  for (size_t d = image.Offset(imports.VirtualAddress); d != 0; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR descriptor;
    if (!image.Read(d, &descriptor) || descriptor.Name == 0) break;
    std::string dll = image.CString(descriptor.Name);
    std::transform(dll.begin(), dll.end(), dll.begin(), ::tolower);
    std::vector<std::string>& names = file->imports[dll];
    DWORD thunks = descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk;
    for (size_t t = image.Offset(thunks);; t += wide ? 8 : 4) {
      ULONGLONG value = 0;
      DWORD narrow = 0;
      bool read = wide ? image.Read(t, &value) : image.Read(t, &narrow);
      if (!wide) value = narrow;
      if (!read || value == 0) break;
      bool byOrdinal = wide ? (value >> 63) != 0 : (value & 0x80000000u) != 0;
      names.push_back(byOrdinal ? "#ordinal" : image.CString(static_cast<DWORD>(value) + 2));
    }
  }

  size_t base = image.Offset(resources.VirtualAddress);
  if (base == 0) return Fail(error, "no resource section");
  return ReadResourceTree(image, base, base, 0, 0, "", file, error);
}

static size_t Align4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

static bool ParseNode(const std::string& bytes, size_t at, size_t end, VersionNode* node) {
  WORD length = 0, valueLength = 0, type = 0;
  if (at + 6 > end) return false;
  memcpy(&length, bytes.data() + at, 2);
  memcpy(&valueLength, bytes.data() + at + 2, 2);
  memcpy(&type, bytes.data() + at + 4, 2);
  if (length < 6 || at + length > end) return false;
  size_t p = at + 6;
  node->key.clear();
  for (;; p += 2) {
    if (p + 2 > at + length) return false;
    wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(bytes[p]) | (static_cast<unsigned char>(bytes[p + 1]) << 8));
    if (c == 0) break;
    node->key += c;
  }
  p = at + Align4(p + 2 - at);
  node->text = type == 1;
  size_t valueBytes = node->text ? valueLength * 2u : valueLength;
  if (p + valueBytes > at + length) valueBytes = at + length > p ? at + length - p : 0;
  node->value = bytes.substr(p, valueBytes);
  p = at + Align4(p + valueBytes - at);
  while (p + 6 <= at + length) {
    VersionNode child;
    WORD childLength = 0;
    memcpy(&childLength, bytes.data() + p, 2);
    if (childLength == 0 || !ParseNode(bytes, p, at + length, &child)) return false;
    node->children.push_back(child);
    p = at + Align4(p + childLength - at);
  }
  return true;
}

bool ParseVersion(const std::string& bytes, VersionNode* root) { return ParseNode(bytes, 0, bytes.size(), root); }

}  // namespace pe
