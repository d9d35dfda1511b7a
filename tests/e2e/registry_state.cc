#include "registry_state.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace e2e {
namespace {

std::string Hex(const std::vector<BYTE>& bytes, DWORD size) {
  std::string text;
  char pair[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof(pair), "%02x", bytes[i]);
    text += pair;
  }
  return text;
}

void SnapshotKey(HKEY key, const std::string& path, std::map<std::string, std::string>* out) {
  (*out)[path] = "";
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD name_size = sizeof(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueA(key, index, name, &name_size, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      break;
    }
    std::vector<BYTE> data(size + 1);
    if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
      size = 0;
    }
    (*out)[path + "\\" + name] = std::to_string(type) + ":" + Hex(data, size);
  }
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD name_size = sizeof(name);
    if (RegEnumKeyExA(key, index, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    HKEY child = nullptr;
    if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
      SnapshotKey(child, path + "\\" + name, out);
      RegCloseKey(child);
    }
  }
}

HKEY CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("cannot create registry key " + path);
  }
  return key;
}

void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const BYTE* data, DWORD size) {
  HKEY key = CreateKey(root, path);
  const LONG status = RegSetValueExA(key, name.c_str(), 0, type, data, size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set " + path + "\\" + name);
}

}  // namespace

std::map<std::string, std::string> SnapshotRegistry(HKEY root, const std::string& path) {
  std::map<std::string, std::string> out;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    SnapshotKey(key, path, &out);
    RegCloseKey(key);
  }
  return out;
}

void SetRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
  SetValue(root, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void SetRegistryText(HKEY root, const std::string& path, const std::string& name,
                     const std::string& value) {
  SetValue(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
           static_cast<DWORD>(value.size() + 1));
}

void SetRegistryBinary(HKEY root, const std::string& path, const std::string& name,
                       const std::string& bytes) {
  SetValue(root, path, name, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
           static_cast<DWORD>(bytes.size()));
}

void DeleteRegistryValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

void DeleteRegistryKeyIfEmpty(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 0;
  DWORD values = 0;
  const LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                       &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyA(root, path.c_str());
}

void DeleteRegistryTree(HKEY root, const std::string& path) {
  RegDeleteTreeA(root, path.c_str());
  RegDeleteKeyA(root, path.c_str());
}

}  // namespace e2e
