#ifndef LAUNCHER_PLATFORM_SIMULATED_SIMULATED_HOST_H_
#define LAUNCHER_PLATFORM_SIMULATED_SIMULATED_HOST_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/host.h"

namespace platform {

// A whole machine in memory, for tests and for tools that show what the
// launcher would do: a registry, a version record, automation classes, files,
// an own directory, and records of every program start, caption write and
// error report. Paths and registry names are compared as Windows compares
// them: without regard to ASCII case, "/" and "\" alike for file paths. A
// program start is refused where CreateProcessA refuses it (start_limits.h).
// The system code page is a single-byte one, or code page 932 (Japanese),
// whose double-byte characters are one character each: their second byte
// is never lowered, never a separator.
class SimulatedHost : public Host {
 public:
  // What an automation class does when it is created.
  struct AutomationClass {
    std::optional<std::string> version;  // nullopt: reading "version" fails
    bool quit_fails = false;             // "quit" is counted, then fails
  };

  // One object created from an automation class, and what was done with it.
  struct AutomationRecord {
    std::string class_name;
    int version_reads = 0;
    int quit_calls = 0;
    std::optional<std::int32_t> quit_argument;  // of the last call
    bool released = false;
  };

  struct StartedProgram {
    std::string program;
    std::string command_line;
    std::string arguments;
  };

  struct CaptionWrite {
    std::string form;
    std::string control;
    std::string text;
  };

  SimulatedHost();
  ~SimulatedHost() override;

  // --- Setting up the machine.

  // Stores a value of any type as raw bytes, creating its key and the key's
  // parents. A REG_SZ text needs its terminator in `bytes` to have one.
  void SetRegistryValue(RegistryKey root, const std::string& key_path, const std::string& name,
                        std::uint32_t type, const std::string& bytes);
  // Convenience forms: a text with its terminator; a 4-byte number.
  void SetRegistryText(RegistryKey root, const std::string& key_path, const std::string& name,
                       const std::string& text);
  void SetRegistryNumber(RegistryKey root, const std::string& key_path, const std::string& name,
                         std::uint32_t number);
  void AddRegistryKey(RegistryKey root, const std::string& key_path);
  void RemoveRegistryValue(RegistryKey root, const std::string& key_path, const std::string& name);
  // Runs `action` once, right after the next query that asks for a value's
  // type and size only: a value that changes between a reader's size probe
  // and its read.
  void AfterNextSizeProbe(std::function<void()> action) { after_size_probe_ = std::move(action); }

  // Lead bytes 0x81-0x9F and 0xE0-0xFC; any second byte.
  void UseCodePage932();

  void SetVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                  std::uint32_t platform_id);
  void SetVersionCallFails(bool fails) { version_call_fails_ = fails; }

  void AddAutomationClass(const std::string& class_name, AutomationClass behaviour);

  void AddFile(const std::string& path, const std::string& bytes);
  void AddDirectory(const std::string& path);
  // Opening `path` still works, but every read of it fails.
  void SetFileReadFails(const std::string& path);
  // Every read of a file gives at most `bytes` (0: as many as asked), as a
  // slow disk or a network share may.
  void LimitReads(size_t bytes) { read_limit_ = bytes; }

  // Files under `windows_directory` are the native files under
  // `native_directory`: names compared without regard to ASCII case, "\" and
  // "/" alike, read from disk only when opened, line by line. Only regular
  // files exist there. Files added with AddFile take precedence.
  void MapDirectory(const std::string& windows_directory,
                    const std::filesystem::path& native_directory);
  // The native file or directory that `path` names through a mapping, found
  // as the launcher would find it; none when there is none.
  std::optional<std::filesystem::path> MappedPath(const std::string& path) const;

  // From now on the registry, the version call, the automation objects and
  // the system code page are those of `real`, which must outlive this host;
  // files, program starts, the form and the end of the program stay
  // simulated.
  void UseProbesOf(Host& real) {
    probes_ = &real;
    lead_bytes_ = real.SystemLeadBytes();
  }

  void SetOwnDirectory(const std::string& directory) { own_directory_ = directory; }
  // Starting `program` asks for consent, and the user declines.
  void DeclineConsentFor(const std::string& program) { declined_.insert(FileName(program)); }
  void SetCaptionWritesFail(bool fail) { caption_writes_fail_ = fail; }

  // Runs `entry` as the host runtime runs a program, to its end, without
  // ending this process; gives the program's exit status.
  int Run(Status (*entry)(Host&));
  // The same for an entry that carries state of its own.
  int RunClosure(const std::function<Status(Host&)>& entry);

  // --- What happened.

  const std::vector<StartedProgram>& started() const { return started_; }
  const std::vector<CaptionWrite>& caption_writes() const { return caption_writes_; }
  // The caption `control` holds now: the last one written, else its initial one.
  std::string Caption(const FormLayout& form, const std::string& control) const;
  bool form_created() const { return form_created_; }
  bool form_visible() const { return false; }  // nothing can show it
  const std::optional<Failure>& error_report() const { return error_report_; }
  std::optional<int> exit_status() const { return exit_status_; }
  const std::vector<AutomationRecord>& automation_objects() const { return automation_records_; }
  int open_registry_keys() const { return static_cast<int>(open_keys_.size()); }
  int open_files() const { return open_files_; }

  // --- Host.

  std::int32_t OpenRegistryKey(RegistryKey root, const char* path,
                               RegistryKey* key) override;
  std::int32_t QueryRegistryValue(RegistryKey key, const char* name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override;
  std::int32_t CloseRegistryKey(RegistryKey key) override;
  bool ReadVersion(VersionRecord* record) override;
  Result<AutomationObject*> CreateAutomationObject(std::string_view class_name) override;
  void ReleaseAutomationObject(AutomationObject* object) override;
  Result<std::unique_ptr<TextInput>> OpenTextInput(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::string LowerCase(std::string_view text) override;
  LeadBytes SystemLeadBytes() override { return lead_bytes_; }
  Status CheckNumber(const std::string& text) override;
  Status StartProgram(const std::string& program, const std::string& command_line,
                      const std::string& arguments) override;
  Status SetCaption(const FormLayout& form, std::string_view control,
                    const std::string& text) override;
  Result<std::string> OwnDirectory() override;
  void ReportUnhandledFailure(const Failure& failure) override;
  void EndProgram(int exit_status) override;

 private:
  class Object;
  class Input;
  class NativeInput;
  struct Mapping {
    std::string windows_prefix;  // as FileName gives it, ending in "\"
    std::filesystem::path native_directory;
  };
  struct RegistryValueData {
    std::uint32_t type;
    std::string bytes;
  };
  struct File {
    std::string bytes;
    bool read_fails = false;
  };

  // `text` with A-Z lowered, never the second byte of a double-byte character.
  std::string Lower(const std::string& text) const;
  std::string KeyName(RegistryKey root, const std::string& path) const;
  std::int32_t QueryStoredValue(RegistryKey key, const std::string& name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size);
  std::string FileName(const std::string& path) const;

  std::map<std::string, std::map<std::string, RegistryValueData>> registry_;
  std::map<RegistryKey, std::string> open_keys_;
  std::function<void()> after_size_probe_;
  RegistryKey next_key_ = 0x100;
  VersionRecord version_;
  bool version_call_fails_ = false;
  std::map<std::string, AutomationClass> automation_classes_;
  std::vector<std::unique_ptr<Object>> automation_objects_;
  std::vector<AutomationRecord> automation_records_;
  std::map<std::string, File> files_;
  std::set<std::string> directories_;
  std::set<std::string> declined_;
  std::vector<Mapping> mappings_;
  Host* probes_ = nullptr;
  LeadBytes lead_bytes_;
  int open_files_ = 0;
  size_t read_limit_ = 0;
  std::string own_directory_ = "C:\\Apps\\Launcher";
  bool caption_writes_fail_ = false;
  bool form_created_ = false;
  std::vector<StartedProgram> started_;
  std::vector<CaptionWrite> caption_writes_;
  std::optional<Failure> error_report_;
  std::optional<int> exit_status_;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_SIMULATED_SIMULATED_HOST_H_
