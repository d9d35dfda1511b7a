#include "platform/simulated/simulated_host.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

#include "platform/join.h"
#include "platform/number_text.h"
#include "platform/run_program.h"
#include "platform/simulated/start_limits.h"

namespace platform {
namespace {

char Respelled(char c, bool lower, bool slashes) {
  if (lower && c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return slashes && c == '/' ? '\\' : c;
}

// `text` with A-Z lowered (`lower`) and "/" made "\" (`slashes`), in the
// bytes that are characters of their own.
std::string Respelled(std::string text, const LeadBytes& lead, bool lower, bool slashes) {
  if (lead.empty()) {
    for (char& c : text) c = Respelled(c, lower, slashes);
    return text;
  }
  for (size_t i = 0; i < text.size(); i += CharacterLength(text, i, lead)) {
    text[i] = Respelled(text[i], lower, slashes);
  }
  return text;
}

}  // namespace

class SimulatedHost::Object : public AutomationObject {
 public:
  Object(SimulatedHost& host, size_t record, AutomationClass behaviour)
      : host_(host), record_(record), behaviour_(std::move(behaviour)) {}

  size_t record() const { return record_; }

  Result<std::string> GetTextProperty(std::string_view name) override {
    if (host_.Lower(std::string(name)) != "version") {
      return Failure(error::kGeneric, Join({"object has no property \"", name, "\""}));
    }
    host_.automation_records_[record_].version_reads++;
    if (!behaviour_.version) {
      return Failure(error::kGeneric, "reading property \"version\" failed");
    }
    return *behaviour_.version;
  }

  Status CallMethod(std::string_view name, std::int32_t argument) override {
    if (host_.Lower(std::string(name)) != "quit") {
      return Failure(error::kGeneric, Join({"object has no method \"", name, "\""}));
    }
    host_.automation_records_[record_].quit_calls++;
    host_.automation_records_[record_].quit_argument = argument;
    if (behaviour_.quit_fails) return Failure(error::kGeneric, "calling method \"quit\" failed");
    return {};
  }

 private:
  SimulatedHost& host_;
  size_t record_;
  AutomationClass behaviour_;
};

class SimulatedHost::Input : public TextInput {
 public:
  Input(int& open_files, const File& file, size_t read_limit)
      : open_files_(open_files), file_(file), read_limit_(read_limit) {
    ++open_files_;
  }
  ~Input() override { --open_files_; }

  Result<size_t> Read(char* buffer, size_t size) override {
    if (file_.read_fails) return Failure(error::kGeneric, "the file cannot be read");
    if (read_limit_ > 0) size = std::min(size, read_limit_);
    const size_t count = std::min(size, file_.bytes.size() - position_);
    std::memcpy(buffer, file_.bytes.data() + position_, count);
    position_ += count;
    return count;
  }

 private:
  int& open_files_;
  const File& file_;
  size_t read_limit_;
  size_t position_ = 0;
};

// A mapped native file, read in chunks as the lines are asked for.
class SimulatedHost::NativeInput : public TextInput {
 public:
  NativeInput(int& open_files, std::ifstream stream, size_t read_limit)
      : open_files_(open_files), stream_(std::move(stream)), read_limit_(read_limit) {
    ++open_files_;
  }
  ~NativeInput() override { --open_files_; }

  Result<size_t> Read(char* buffer, size_t size) override {
    if (read_limit_ > 0) size = std::min(size, read_limit_);
    stream_.read(buffer, static_cast<std::streamsize>(size));
    if (stream_.bad()) return Failure(error::kGeneric, "the file cannot be read");
    return static_cast<size_t>(stream_.gcount());
  }

 private:
  int& open_files_;
  std::ifstream stream_;
  size_t read_limit_;
};

SimulatedHost::SimulatedHost() = default;
SimulatedHost::~SimulatedHost() = default;

void SimulatedHost::UseCodePage932() {
  lead_bytes_ = LeadBytes();
  for (int byte = 0x81; byte <= 0xFC; ++byte) {
    if (byte <= 0x9F || byte >= 0xE0) lead_bytes_.Add(static_cast<unsigned char>(byte));
  }
}

std::string SimulatedHost::Lower(const std::string& text) const {
  return Respelled(text, lead_bytes_, true, false);
}

std::string SimulatedHost::KeyName(RegistryKey root, const std::string& path) const {
  std::string name = Lower(path);
  while (EndsWithCharacter(name, '\\', lead_bytes_)) name.pop_back();
  return std::to_string(root) + ":" + name;
}

std::string SimulatedHost::FileName(const std::string& path) const {
  std::string name = Respelled(path, lead_bytes_, true, true);
  while (name.size() > 1 && EndsWithCharacter(name, '\\', lead_bytes_) &&
         name[name.size() - 2] != ':') {
    name.pop_back();
  }
  return name;
}

void SimulatedHost::AddRegistryKey(RegistryKey root, const std::string& key_path) {
  // Every parent of a key exists too, as in a real registry.
  for (size_t i = 0; i < key_path.size(); i += CharacterLength(key_path, i, lead_bytes_)) {
    if (key_path[i] == '\\') registry_[KeyName(root, key_path.substr(0, i))];
  }
  registry_[KeyName(root, key_path)];
}

void SimulatedHost::SetRegistryValue(RegistryKey root, const std::string& key_path,
                                     const std::string& name, std::uint32_t type,
                                     const std::string& bytes) {
  AddRegistryKey(root, key_path);
  registry_[KeyName(root, key_path)][Lower(name)] = {type, bytes};
}

void SimulatedHost::SetRegistryText(RegistryKey root, const std::string& key_path,
                                    const std::string& name, const std::string& text) {
  SetRegistryValue(root, key_path, name, kRegSz, text + std::string(1, '\0'));
}

void SimulatedHost::SetRegistryNumber(RegistryKey root, const std::string& key_path,
                                      const std::string& name, std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  SetRegistryValue(root, key_path, name, kRegDword, bytes);
}

void SimulatedHost::RemoveRegistryValue(RegistryKey root, const std::string& key_path,
                                        const std::string& name) {
  auto found = registry_.find(KeyName(root, key_path));
  if (found != registry_.end()) found->second.erase(Lower(name));
}

std::int32_t SimulatedHost::OpenRegistryKey(RegistryKey root, const char* path,
                                            RegistryKey* key) {
  if (probes_ != nullptr) return probes_->OpenRegistryKey(root, path, key);
  *key = 0;
  std::string name;
  if (root == kHkeyLocalMachine) {
    name = KeyName(root, path);
  } else if (auto parent = open_keys_.find(root); parent != open_keys_.end()) {
    name = *path == '\0' ? parent->second : parent->second + "\\" + Lower(path);
    while (EndsWithCharacter(name, '\\', lead_bytes_)) name.pop_back();
  } else {
    return kRegistryInvalidHandle;
  }
  if (registry_.count(name) == 0) return kRegistryNotFound;
  *key = next_key_++;
  open_keys_[*key] = name;
  return kRegistrySuccess;
}

std::int32_t SimulatedHost::QueryRegistryValue(RegistryKey key, const char* name,
                                               std::uint32_t* type, std::uint8_t* data,
                                               std::uint32_t* size) {
  if (probes_ != nullptr) return probes_->QueryRegistryValue(key, name, type, data, size);
  const std::int32_t status = QueryStoredValue(key, name, type, data, size);
  if (data == nullptr && after_size_probe_) std::exchange(after_size_probe_, nullptr)();
  return status;
}

std::int32_t SimulatedHost::QueryStoredValue(RegistryKey key, const std::string& name,
                                             std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* size) {
  auto open = open_keys_.find(key);
  if (open == open_keys_.end()) return kRegistryInvalidHandle;
  const auto& values = registry_[open->second];
  auto found = values.find(Lower(name));
  if (found == values.end()) return kRegistryNotFound;
  const RegistryValueData& value = found->second;
  if (type != nullptr) *type = value.type;
  const auto needed = static_cast<std::uint32_t>(value.bytes.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return kRegistryMoreData;
  }
  if (data != nullptr) std::memcpy(data, value.bytes.data(), needed);
  *size = needed;
  return kRegistrySuccess;
}

std::int32_t SimulatedHost::CloseRegistryKey(RegistryKey key) {
  if (probes_ != nullptr) return probes_->CloseRegistryKey(key);
  return open_keys_.erase(key) == 1 ? kRegistrySuccess : kRegistryInvalidHandle;
}

void SimulatedHost::SetVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                               std::uint32_t platform_id) {
  version_.major = major;
  version_.minor = minor;
  version_.build = build;
  version_.platform_id = platform_id;
}

bool SimulatedHost::ReadVersion(VersionRecord* record) {
  if (probes_ != nullptr) return probes_->ReadVersion(record);
  if (version_call_fails_ || record->size != sizeof(VersionRecord)) return false;
  record->major = version_.major;
  record->minor = version_.minor;
  record->build = version_.build;
  record->platform_id = version_.platform_id;
  return true;
}

void SimulatedHost::AddAutomationClass(const std::string& class_name, AutomationClass behaviour) {
  automation_classes_[Lower(class_name)] = std::move(behaviour);
}

Result<AutomationObject*> SimulatedHost::CreateAutomationObject(std::string_view class_name) {
  if (probes_ != nullptr) return probes_->CreateAutomationObject(class_name);
  auto found = automation_classes_.find(Lower(std::string(class_name)));
  if (found == automation_classes_.end()) {
    return Failure(error::kClassNotFound, Join({"cannot create object \"", class_name, "\""}));
  }
  automation_records_.push_back({std::string(class_name), 0, 0, std::nullopt, false});
  automation_objects_.push_back(
      std::make_unique<Object>(*this, automation_records_.size() - 1, found->second));
  return automation_objects_.back().get();
}

void SimulatedHost::AddFile(const std::string& path, const std::string& bytes) {
  files_[FileName(path)] = {bytes};
}

void SimulatedHost::AddDirectory(const std::string& path) { directories_.insert(FileName(path)); }

void SimulatedHost::SetFileReadFails(const std::string& path) {
  files_[FileName(path)].read_fails = true;
}

void SimulatedHost::MapDirectory(const std::string& windows_directory,
                                 const std::filesystem::path& native_directory) {
  std::string prefix = FileName(windows_directory);
  if (!EndsWithCharacter(prefix, '\\', lead_bytes_)) prefix.push_back('\\');
  mappings_.push_back({std::move(prefix), native_directory});
}

std::optional<std::filesystem::path> SimulatedHost::MappedPath(const std::string& path) const {
  namespace fs = std::filesystem;
  const std::string name = FileName(path);
  for (const Mapping& mapping : mappings_) {
    if (name.size() <= mapping.windows_prefix.size() ||
        name.compare(0, mapping.windows_prefix.size(), mapping.windows_prefix) != 0) {
      continue;
    }
    // Walk the rest one component at a time, so that each name can be found
    // without regard to case on a file system that does regard it.
    const std::string rest =
        Respelled(path.substr(mapping.windows_prefix.size()), lead_bytes_, false, true);
    std::vector<fs::path> parts;
    bool inside = true;
    size_t begin = 0;
    while (inside && begin <= rest.size()) {
      size_t end = FindCharacter(std::string_view(rest).substr(begin), '\\', lead_bytes_);
      end = end == std::string::npos ? rest.size() : begin + end;
      const std::string component = rest.substr(begin, end - begin);
      begin = end + 1;
      if (component.empty() || component == ".") continue;
      if (component == "..") {
        inside = !parts.empty();
        if (inside) parts.pop_back();
        continue;
      }
      fs::path directory = mapping.native_directory;
      for (const fs::path& part : parts) directory /= part;
      std::error_code error;
      if (fs::exists(directory / component, error)) {
        parts.emplace_back(component);
        continue;
      }
      // Several names may differ only in case: take the first in name order.
      std::optional<std::string> match;
      const std::string wanted = Lower(component);
      for (fs::directory_iterator it(directory, error), done; !error && it != done;
           it.increment(error)) {
        const std::string candidate = it->path().filename().string();
        if (Lower(candidate) == wanted && (!match || candidate < *match)) match = candidate;
      }
      inside = match.has_value();
      if (inside) parts.emplace_back(*match);
    }
    if (!inside) continue;
    fs::path native = mapping.native_directory;
    for (const fs::path& part : parts) native /= part;
    return native;
  }
  return std::nullopt;
}

void SimulatedHost::ReleaseAutomationObject(AutomationObject* object) {
  if (probes_ != nullptr) return probes_->ReleaseAutomationObject(object);
  for (auto it = automation_objects_.begin(); it != automation_objects_.end(); ++it) {
    if (it->get() != object) continue;
    automation_records_[(*it)->record()].released = true;
    automation_objects_.erase(it);
    return;
  }
}

Result<std::unique_ptr<TextInput>> SimulatedHost::OpenTextInput(const std::string& path) {
  auto found = files_.find(FileName(path));
  if (found != files_.end()) {
    return std::unique_ptr<TextInput>(
        std::make_unique<Input>(open_files_, found->second, read_limit_));
  }
  if (const auto native = MappedPath(path)) {
    std::error_code error;
    if (std::filesystem::is_regular_file(*native, error)) {
      std::ifstream stream(*native, std::ios::binary);
      if (stream.is_open()) {
        return std::unique_ptr<TextInput>(
            std::make_unique<NativeInput>(open_files_, std::move(stream), read_limit_));
      }
    }
  }
  return Failure(error::kFileNotFound, "file not found: " + path);
}

bool SimulatedHost::FileExists(const std::string& path) {
  if (files_.count(FileName(path)) == 1) return true;
  const auto native = MappedPath(path);
  std::error_code error;
  return native && std::filesystem::is_regular_file(*native, error);
}

std::string SimulatedHost::LowerCase(std::string_view text) { return Lower(std::string(text)); }

Status SimulatedHost::CheckNumber(const std::string& text) { return CheckNumberText(text); }

Status SimulatedHost::StartProgram(const std::string& program, const std::string& command_line,
                                   const std::string& arguments) {
  if (program.empty() || !FileExists(program)) {
    return Failure(error::kFileNotFound, "cannot start " + command_line + ": no such program");
  }
  if (Status within = CheckStartLimits(program, command_line); !within.ok()) return within;
  if (declined_.count(FileName(program)) == 1) {
    return Failure(error::kCancelled, "cannot start " + command_line + ": the user declined");
  }
  started_.push_back({program, command_line, arguments});
  return {};
}

Status SimulatedHost::SetCaption(const FormLayout& form, std::string_view control,
                                 const std::string& text) {
  if (caption_writes_fail_) return Failure(error::kGeneric, "the form cannot be created");
  if (form.Find(control) < 0) {
    return Failure(error::kGeneric, Join({form.name, " has no control ", control}));
  }
  form_created_ = true;
  caption_writes_.push_back({form.name, std::string(control), text});
  return {};
}

std::string SimulatedHost::Caption(const FormLayout& form, const std::string& control) const {
  for (auto write = caption_writes_.rbegin(); write != caption_writes_.rend(); ++write) {
    if (write->form == form.name && write->control == control) return write->text;
  }
  const int index = form.Find(control);
  return index >= 0 ? form.controls[index].caption : std::string();
}

Result<std::string> SimulatedHost::OwnDirectory() { return own_directory_; }

void SimulatedHost::ReportUnhandledFailure(const Failure& failure) {
  automation_objects_.clear();
  error_report_ = failure;
}

void SimulatedHost::EndProgram(int exit_status) {
  automation_objects_.clear();
  exit_status_ = exit_status;
}

int SimulatedHost::Run(Status (*entry)(Host&)) { return FinishProgram(*this, entry(*this)); }

int SimulatedHost::RunClosure(const std::function<Status(Host&)>& entry) {
  return FinishProgram(*this, entry(*this));
}

}  // namespace platform
