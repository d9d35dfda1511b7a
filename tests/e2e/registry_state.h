#ifndef LAUNCHER_TESTS_E2E_REGISTRY_STATE_H_
#define LAUNCHER_TESTS_E2E_REGISTRY_STATE_H_

#include <windows.h>

#include <map>
#include <string>

namespace e2e {

// Every key and value below `path` of `root`: key paths map to "", value
// paths ("key\\name") to their type and bytes in hex. Empty when the key is
// missing.
std::map<std::string, std::string> SnapshotRegistry(HKEY root, const std::string& path);

// Writes a value, creating its key. Throws std::runtime_error on failure.
void SetRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void SetRegistryText(HKEY root, const std::string& path, const std::string& name,
                     const std::string& value);
void SetRegistryBinary(HKEY root, const std::string& path, const std::string& name,
                       const std::string& bytes);

// Removes a value; a missing value or key is no error.
void DeleteRegistryValue(HKEY root, const std::string& path, const std::string& name);

// Removes a key that holds no value and no key; any other is left alone.
void DeleteRegistryKeyIfEmpty(HKEY root, const std::string& path);

// Removes a key with everything below it; a missing key is no error.
void DeleteRegistryTree(HKEY root, const std::string& path);

}  // namespace e2e

#endif  // LAUNCHER_TESTS_E2E_REGISTRY_STATE_H_
