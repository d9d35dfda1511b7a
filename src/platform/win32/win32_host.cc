#include "platform/win32/win32_host.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/join.h"
#include "platform/number_text.h"
#include "platform/win32/automation.h"
#include "platform/win32/code_page.h"
#include "platform/win32/error_report.h"
#include "platform/win32/own_directory.h"
#include "platform/win32/program_start.h"
#include "platform/win32/status_window.h"
#include "platform/win32/text_input.h"

namespace platform {
namespace {

// Handles travel as integers: the same value on every pointer size, with
// predefined keys such as HKEY_LOCAL_MACHINE sign-extended as Windows does.
HKEY ToHkey(RegistryKey key) { return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(key)); }
RegistryKey FromHkey(HKEY key) {
  return static_cast<RegistryKey>(reinterpret_cast<std::intptr_t>(key));
}

class Win32Host : public Host {
 public:
  explicit Win32Host(const ProgramStartCalls& calls) : calls_(calls) {}
  ~Win32Host() override { ReleaseAll(); }

  std::int32_t OpenRegistryKey(RegistryKey root, const char* path,
                               RegistryKey* key) override {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyA(ToHkey(root), path, &opened);
    *key = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
    return status;
  }

  std::int32_t QueryRegistryValue(RegistryKey key, const char* name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override {
    // Work on copies: the contract leaves the caller's cells alone when the
    // value is missing, whatever the system does with them.
    DWORD value_type = type != nullptr ? *type : 0;
    DWORD value_size = size != nullptr ? *size : 0;
    const LONG status = ::RegQueryValueExA(ToHkey(key), name, nullptr, &value_type, data,
                                           size != nullptr ? &value_size : nullptr);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
      if (type != nullptr) *type = value_type;
      if (size != nullptr) *size = value_size;
    }
    return status;
  }

  std::int32_t CloseRegistryKey(RegistryKey key) override { return ::RegCloseKey(ToHkey(key)); }

  bool ReadVersion(VersionRecord* record) override {
    OSVERSIONINFOA info = {};
    static_assert(sizeof(info) == sizeof(VersionRecord));
    info.dwOSVersionInfoSize = record->size;
    if (!::GetVersionExA(&info)) return false;
    record->major = info.dwMajorVersion;
    record->minor = info.dwMinorVersion;
    record->build = info.dwBuildNumber;
    record->platform_id = info.dwPlatformId;
    static_assert(sizeof(record->service_pack) == sizeof(info.szCSDVersion));
    CopyMemory(record->service_pack, info.szCSDVersion, sizeof(info.szCSDVersion));
    return true;
  }

  Result<AutomationObject*> CreateAutomationObject(std::string_view class_name) override {
    return automation_.Create(class_name);
  }

  void ReleaseAutomationObject(AutomationObject* object) override {
    automation_.ReleaseObject(object);
  }

  Result<std::unique_ptr<TextInput>> OpenTextInput(const std::string& path) override {
    return OpenWin32TextInput(path);
  }

  bool FileExists(const std::string& path) override {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  std::string LowerCase(std::string_view text) override {
    std::string lower(text);
    if (!lower.empty()) ::CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
  }

  LeadBytes SystemLeadBytes() override { return SystemCodePageLeadBytes(); }

  Status CheckNumber(const std::string& text) override { return CheckNumberText(text); }

  Status StartProgram(const std::string& program, const std::string& command_line,
                      const std::string& arguments) override {
    return StartProgramOrElevate(calls_, program, command_line, arguments);
  }

  // The launcher has one form: another layout takes the place of the first.
  Status SetCaption(const FormLayout& form, std::string_view control,
                    const std::string& text) override {
    if (form_ == nullptr || !form_->Shows(form)) {
      if (form.Find(control) < 0) {
        return Failure(error::kGeneric, Join({form.name, " has no control ", control}));
      }
      Result<std::unique_ptr<StatusWindow>> created = StatusWindow::Create(form);
      if (!created.ok()) return created.TakeFailure();
      form_ = *std::move(created);
    }
    return form_->SetCaption(control, text);
  }

  Result<std::string> OwnDirectory() override {
    Result<std::string> path = RunningProgramPath();
    if (!path.ok()) return path.TakeFailure();
    return DirectoryOfModule(*path, SystemCodePageLeadBytes());
  }

  void ReportUnhandledFailure(const Failure& failure) override {
    ReleaseAll();
    ::MessageBoxA(nullptr, ErrorReportText(failure, SystemCodePageLeadBytes()).c_str(), "launcher",
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }

  void EndProgram(int exit_status) override {
    ReleaseAll();
    // A thread left inside COM could hold a lock that the libraries' own
    // clean-up at ExitProcess waits for: then the process ends without it.
    if (automation_.abandoned()) ::TerminateProcess(::GetCurrentProcess(), exit_status);
    ::ExitProcess(static_cast<UINT>(exit_status));
  }

 private:
  void ReleaseAll() {
    automation_.End();
    form_.reset();
  }

  const ProgramStartCalls calls_;
  Automation automation_;
  std::unique_ptr<StatusWindow> form_;
};

}  // namespace

std::unique_ptr<Host> NewWin32Host() { return NewWin32Host(ProgramStartCalls()); }

std::unique_ptr<Host> NewWin32Host(const ProgramStartCalls& calls) {
  return std::make_unique<Win32Host>(calls);
}

}  // namespace platform
