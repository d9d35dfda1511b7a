#ifndef LAUNCHER_PLATFORM_HOST_H_
#define LAUNCHER_PLATFORM_HOST_H_

#include <cstddef>
#include <string_view>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/form_layout.h"
#include "platform/lead_bytes.h"
#include "platform/result.h"

namespace platform {

// A registry key handle. Wide enough for a handle on every Windows; 0 is the
// handle of a key that did not open.
using RegistryKey = std::int64_t;

// HKEY_LOCAL_MACHINE, sign-extended the way Windows extends it.
inline constexpr RegistryKey kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);

// Registry status codes the system distinguishes.
inline constexpr std::int32_t kRegistrySuccess = 0;        // ERROR_SUCCESS
inline constexpr std::int32_t kRegistryNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t kRegistryInvalidHandle = 6;  // ERROR_INVALID_HANDLE
inline constexpr std::int32_t kRegistryMoreData = 234;     // ERROR_MORE_DATA

// Registry value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// The host's version record, laid out as OSVERSIONINFOA (148 bytes).
struct VersionRecord {
  std::uint32_t size = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platform_id = 0;
  char service_pack[128] = {};
};
static_assert(sizeof(VersionRecord) == 148);

// A late-bound automation object. Owned by the host that created it, until
// the program ends or Host::ReleaseAutomationObject.
class AutomationObject {
 public:
  AutomationObject() = default;
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;
  virtual ~AutomationObject() = default;

  // The property `name` read as text; a failure when it cannot be read.
  virtual Result<std::string> GetTextProperty(std::string_view name) = 0;

  // Calls the method `name` with the number `argument` as its one argument;
  // a failure when the call fails.
  virtual Status CallMethod(std::string_view name, std::int32_t argument) = 0;
};

// A file open for sequential input. Closed when destroyed. Lines are the
// reader's business: a line ends at a carriage return or at a carriage
// return and line feed; a lone line feed is an ordinary byte.
class TextInput {
 public:
  TextInput() = default;
  TextInput(const TextInput&) = delete;
  TextInput& operator=(const TextInput&) = delete;
  virtual ~TextInput() = default;

  // Reads the next bytes of the file into `buffer`, at most `size`, and
  // gives how many; 0 only at the end. May give fewer than are left. A
  // failure when the file cannot be read.
  virtual Result<std::size_t> Read(char* buffer, std::size_t size) = 0;
};

// Everything the launcher needs of the machine it runs on. Texts are 8-bit,
// in the host's system code page. The Win32 host and the simulated host are
// the only implementations.
class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  virtual ~Host() = default;

  // Opens `path` under `root` into *key and gives the status code. A key
  // that does not open leaves *key at 0. Never fails.
  virtual std::int32_t OpenRegistryKey(RegistryKey root, const char* path,
                                       RegistryKey* key) = 0;

  // Queries the value `name` of `key`. Fills *type and *size (in bytes) when
  // the value exists; with `data` null reports type and size only; with a
  // buffer of *size bytes smaller than the value gives kRegistryMoreData and
  // the size needed. A missing value gives kRegistryNotFound and leaves *type
  // and *size as they were. Never fails.
  virtual std::int32_t QueryRegistryValue(RegistryKey key, const char* name,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) = 0;

  // Closes `key` (0 included) and gives the status code. Never fails.
  virtual std::int32_t CloseRegistryKey(RegistryKey key) = 0;

  // Fills the numbers of *record, whose size field the caller has set to
  // 148; gives false when the call failed, leaving them as they were.
  virtual bool ReadVersion(VersionRecord* record) = 0;

  // Creates the automation object of `class_name`, which the host keeps
  // until it is released. A failure when no such class can be created. The
  // Windows host gives the object, from the start of its creation to the
  // end of the last call into it, a bounded time in all (AnswerBounds); a
  // call that would take longer fails.
  virtual Result<AutomationObject*> CreateAutomationObject(std::string_view class_name) = 0;

  // Releases `object`, which may not be used afterwards. Never fails; a
  // host may leave behind an object that has not answered in time.
  virtual void ReleaseAutomationObject(AutomationObject* object) = 0;

  // Opens `path` for sequential input. A failure when the file is missing or
  // cannot be opened.
  virtual Result<std::unique_ptr<TextInput>> OpenTextInput(const std::string& path) = 0;

  // True when `path` names an existing file (not a directory). Never fails.
  virtual bool FileExists(const std::string& path) = 0;

  // `text` in lower case by the host's rules (at least A-Z to a-z; the
  // second byte of a double-byte character is no letter): the result has the
  // same length.
  virtual std::string LowerCase(std::string_view text) = 0;

  // The lead bytes of the system code page's double-byte characters; empty
  // for a single-byte code page. Never fails.
  virtual LeadBytes SystemLeadBytes() = 0;

  // Whether `text` converts to a number: ok when it does, else a failure
  // (see CheckNumberText for what counts, and which failure). The number
  // itself is never needed.
  virtual Status CheckNumber(const std::string& text) = 0;

  // Starts `program` as a new process with the full `command_line` (the
  // program's own name, quoted, then `arguments`, what followed it in the
  // launch value), in a normal, activated window, and returns at once. A
  // host may start it another way that passes the same program and
  // arguments (Windows, for a program that needs elevation). A failure when
  // nothing can be started; error::kCancelled when the user declined to let
  // it run (the consent prompt of Windows for an elevated start).
  virtual Status StartProgram(const std::string& program, const std::string& command_line,
                              const std::string& arguments) = 0;

  // Sets the caption of `control` on the form described by `form`, creating
  // the form hidden on first use. A failure when the form cannot be created
  // or has no such control.
  virtual Status SetCaption(const FormLayout& form, std::string_view control,
                            const std::string& text) = 0;

  // The directory that holds the running program, with no trailing "\"
  // except at a drive root ("D:\"). A failure when it cannot be found.
  virtual Result<std::string> OwnDirectory() = 0;

  // Shows the user a failure that no guard handled, with its number and
  // description, once the form and the automation objects are released.
  virtual void ReportUnhandledFailure(const Failure& failure) = 0;

  // Ends the program at once with `exit_status`: open files are closed, the
  // form and the automation objects are released. The Windows host ends the
  // process; the simulated one records the end and returns.
  virtual void EndProgram(int exit_status) = 0;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_HOST_H_
