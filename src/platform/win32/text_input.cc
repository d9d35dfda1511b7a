#include "platform/win32/text_input.h"

#include <windows.h>

#include "platform/line_reader.h"
#include "platform/win32/system_message.h"

namespace platform {
namespace {

class Win32TextInput : public TextInput {
 public:
  Win32TextInput(HANDLE file, std::string path)
      : file_(file),
        path_(std::move(path)),
        reader_([this](char* buffer, size_t size) { return Read(buffer, size); }) {}
  ~Win32TextInput() override { ::CloseHandle(file_); }

  bool AtEnd() override { return reader_.AtEnd(); }
  std::string_view ReadLine() override { return reader_.ReadLine(); }

 private:
  size_t Read(char* buffer, size_t size) {
    // ReadFile takes a DWORD count; LineReader never asks for more than that.
    DWORD count = 0;
    if (!::ReadFile(file_, buffer, static_cast<DWORD>(size), &count, nullptr)) {
      RaiseSystemFailure(::GetLastError(), "cannot read " + path_);
    }
    return count;
  }

  HANDLE file_;
  std::string path_;
  LineReader reader_;
};

}  // namespace

std::unique_ptr<TextInput> OpenWin32TextInput(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) RaiseSystemFailure(::GetLastError(), "cannot open " + path);
  // Some systems open a directory for reading; it is never a text file here.
  BY_HANDLE_FILE_INFORMATION info = {};
  if (::GetFileInformationByHandle(file, &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ::CloseHandle(file);
    RaiseSystemFailure(ERROR_ACCESS_DENIED, "cannot open " + path);
  }
  return std::make_unique<Win32TextInput>(file, path);
}

}  // namespace platform
