#include "platform/win32/text_input.h"

#include <windows.h>

#include "platform/join.h"
#include "platform/win32/system_message.h"

namespace platform {
namespace {

class Win32TextInput : public TextInput {
 public:
  Win32TextInput(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
  ~Win32TextInput() override { ::CloseHandle(file_); }

  Result<size_t> Read(char* buffer, size_t size) override {
    // ReadFile takes a DWORD count: a larger request reads less, as allowed.
    const DWORD asked = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
    DWORD count = 0;
    if (!::ReadFile(file_, buffer, asked, &count, nullptr)) {
      return SystemFailure(::GetLastError(), Join({"cannot read ", path_}));
    }
    return static_cast<size_t>(count);
  }

 private:
  HANDLE file_;
  std::string path_;
};

}  // namespace

Result<std::unique_ptr<TextInput>> OpenWin32TextInput(const std::string& path) {
  // Some systems open a directory for reading; it is never a text file here. The
  // attributes come by name: asking an open handle costs a disk query on some hosts.
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return SystemFailure(ERROR_ACCESS_DENIED, Join({"cannot open ", path}));
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return SystemFailure(::GetLastError(), Join({"cannot open ", path}));
  return std::unique_ptr<TextInput>(std::make_unique<Win32TextInput>(file, path));
}

}  // namespace platform
