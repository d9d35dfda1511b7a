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

// How long a local server may take to end once its objects are gone; one
// held inside a call that never returns is ended then.
constexpr DWORD kServerEndMs = 5000;

std::string ClsidKey() { return std::string("CLSID\\") + test_server::kClsidText; }

void SetServerNumber(const char* name, DWORD number) {
  SetRegistryValue(HKEY_CURRENT_USER, test_server::kStateKey, name, REG_DWORD,
                   std::string(reinterpret_cast<const char*>(&number), sizeof(number)));
}

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

bool IsProgram(const std::string& path) {
  return path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".exe") == 0;
}

}  // namespace

ComRegistration::ComRegistration(const std::string& prog_id, const std::string& server_path)
    : prog_id_(prog_id) {
  SetText(HKEY_CLASSES_ROOT, prog_id + "\\CLSID", nullptr, test_server::kClsidText);
  if (IsProgram(server_path)) {
    SetText(HKEY_CLASSES_ROOT, ClsidKey() + "\\LocalServer32", nullptr, "\"" + server_path + "\"");
  } else {
    SetText(HKEY_CLASSES_ROOT, ClsidKey() + "\\InprocServer32", nullptr, server_path);
    SetText(HKEY_CLASSES_ROOT, ClsidKey() + "\\InprocServer32", "ThreadingModel", "Apartment");
  }
  ResetServerState();
}

ComRegistration::~ComRegistration() {
  // A local server ends when its objects are gone; the next test must not
  // reach it while it ends.
  if (const DWORD id = ReadServerNumber(test_server::kServerProcessValue); id != 0) {
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        process != nullptr) {
      if (WaitForSingleObject(process, kServerEndMs) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kServerEndMs);
      }
      CloseHandle(process);
    }
  }
  DeleteKeyTree(HKEY_CLASSES_ROOT, prog_id_);
  DeleteKeyTree(HKEY_CLASSES_ROOT, ClsidKey());
  DeleteKeyTree(HKEY_CURRENT_USER, test_server::kStateKey);
}

std::string TestServerPath() { return ProgramDirectory() + "\\com_test_server.dll"; }
std::string LocalServerPath() { return ProgramDirectory() + "\\com_local_server.exe"; }

void SetServerVersion(const std::string& text) {
  SetText(HKEY_CURRENT_USER, test_server::kStateKey, test_server::kVersionValue, text);
}

void SetServerVersionNumber(DWORD number) { SetServerNumber(test_server::kVersionValue, number); }

void SetServerVersionFails() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, test_server::kStateKey, 0, KEY_ALL_ACCESS, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueA(key, test_server::kVersionValue);
    RegCloseKey(key);
  }
}

void SetServerVersionDelay(DWORD milliseconds) {
  SetServerNumber(test_server::kVersionDelayValue, milliseconds);
}
void SetServerQuitFails() { SetServerNumber(test_server::kQuitFailsValue, 1); }

void SetServerQuitDelay(DWORD milliseconds) {
  SetServerNumber(test_server::kQuitDelayValue, milliseconds);
}

void SetServerCreateDelay(DWORD milliseconds) {
  SetServerNumber(test_server::kCreateDelayValue, milliseconds);
}
void SetServerRejectCalls(DWORD count) { SetServerNumber(test_server::kRejectCallsValue, count); }

void ResetServerState() { DeleteKeyTree(HKEY_CURRENT_USER, test_server::kStateKey); }

DWORD ServerQuitCalls() { return ReadServerNumber(test_server::kQuitCallsValue); }
DWORD ServerQuitArgument() { return ReadServerNumber(test_server::kQuitArgumentValue); }
DWORD ServerLiveObjects() { return ReadServerNumber(test_server::kLiveObjectsValue); }
DWORD ServerRejectedCalls() { return ReadServerNumber(test_server::kRejectedCallsValue); }

}  // namespace win32_test
