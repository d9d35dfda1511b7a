#include "e2e_support.h"

#include "com_server/test_server_ids.h"
#include "registry_state.h"

namespace e2e {

std::filesystem::path ProgramsDirectory() {
  char own_path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own_path, MAX_PATH);
  return std::filesystem::path(own_path).parent_path();
}

std::string Ini(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void RemoveOfficeValue() {
  DeleteRegistryValue(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue);
  DeleteRegistryKeyIfEmpty(HKEY_LOCAL_MACHINE, kOfficeKey);
  DeleteRegistryKeyIfEmpty(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office");
}

std::map<std::string, std::string> RegistryTheLauncherSees() {
  std::map<std::string, std::string> all =
      SnapshotRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office");
  all.merge(SnapshotRegistry(HKEY_CURRENT_USER, "Software\\Microsoft\\Office"));
  all.merge(SnapshotRegistry(HKEY_CURRENT_USER, kWineVersionKey));
  all.merge(SnapshotRegistry(HKEY_CLASSES_ROOT, "word.application"));
  all.merge(SnapshotRegistry(HKEY_CLASSES_ROOT, std::string("CLSID\\") + test_server::kClsidText));
  return all;
}

void DesktopKeeper::SetUp() {
  window_ = CreateWindowExA(0, "STATIC", "e2e desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                            nullptr, nullptr, nullptr);
  ASSERT_NE(window_, nullptr);
}

void DesktopKeeper::TearDown() { DestroyWindow(window_); }

}  // namespace e2e
