#include "com_registration.h"

#include <stdexcept>

#include "com_server/test_server_ids.h"
#include "test_support.h"

namespace win32_test {
namespace {

void SetText(HKEY root, const std::string& path, const char* name, const std::string& text) {
  HKEY key = nullptr;
  LONG status =
      RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("cannot write " + path + ": error " + std::to_string(status));
  }
}

std::string ClsidKey() { return std::string("CLSID\\") + test_server::kClsidText; }

}  // namespace

ComRegistration::ComRegistration(const std::string& prog_id, const std::string& dll_path)
    : prog_id_(prog_id) {
  SetText(HKEY_CLASSES_ROOT, prog_id + "\\CLSID", nullptr, test_server::kClsidText);
  SetText(HKEY_CLASSES_ROOT, ClsidKey() + "\\InprocServer32", nullptr, dll_path);
  SetText(HKEY_CLASSES_ROOT, ClsidKey() + "\\InprocServer32", "ThreadingModel", "Apartment");
  ResetServerState();
}

ComRegistration::~ComRegistration() {
  DeleteKeyTree(HKEY_CLASSES_ROOT, prog_id_);
  DeleteKeyTree(HKEY_CLASSES_ROOT, ClsidKey());
  DeleteKeyTree(HKEY_CURRENT_USER, test_server::kStateKey);
}

std::string TestServerPath() { return ProgramDirectory() + "\\com_test_server.dll"; }

void SetServerVersion(const std::string& text) {
  SetText(HKEY_CURRENT_USER, test_server::kStateKey, test_server::kVersionValue, text);
}

void SetServerVersionNumber(DWORD number) {
  SetRegistryValue(HKEY_CURRENT_USER, test_server::kStateKey, test_server::kVersionValue, REG_DWORD,
                   std::string(reinterpret_cast<const char*>(&number), sizeof(number)));
}

void SetServerVersionFails() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, test_server::kStateKey, 0, KEY_ALL_ACCESS, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueA(key, test_server::kVersionValue);
    RegCloseKey(key);
  }
}

void ResetServerState() { DeleteKeyTree(HKEY_CURRENT_USER, test_server::kStateKey); }

namespace {
DWORD ReadServerNumber(const char* name) {
  HKEY key = nullptr;
  DWORD value = 0;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, test_server::kStateKey, 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS) {
      value = 0;
    }
    RegCloseKey(key);
  }
  return value;
}
}  // namespace

DWORD ServerQuitCalls() { return ReadServerNumber(test_server::kQuitCallsValue); }
DWORD ServerLiveObjects() { return ReadServerNumber(test_server::kLiveObjectsValue); }

}  // namespace win32_test
