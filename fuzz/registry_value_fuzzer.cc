// The registry value reader: any type, any bytes, any size, and a value that
// changes between the size probe and the read, against a plain model.
//
// Input: a 12-byte header, then the bytes of the value and of its
// replacement:
//   [0]     type of the value
//   [1]     what happens: bit 0-1: 0/3 nothing, 1 the value is replaced after
//           the size probe, 2 it is removed; bit 2: the key is missing; bit 3:
//           the value is missing (the replacement may still appear)
//   [2..3]  how many fill bytes come before the value's bytes (little-endian)
//   [4]     the fill byte
//   [5]     type of the replacement
//   [6..7]  fill count of the replacement
//   [8]     its fill byte
//   [9..10] how many of the remaining bytes are the value's; the rest are the
//           replacement's
//   [11]    unused
// Fill lets a short input make a value of tens of thousands of bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/simulated/simulated_host.h"
#include "probes/registry_value.h"

namespace {

constexpr char kKey[] = "Software\\Microsoft\\Office\\Common\\";
constexpr char kName[] = "LastAccessInstall";
constexpr size_t kHeader = 12;

struct Value {
  std::uint32_t type;
  std::string bytes;
};

// What the reader should give: a text, a number, or the overflow failure.
struct Outcome {
  enum Kind { kText, kNumber, kOverflow } kind = kText;
  std::string text;
  std::int32_t number = 0;

  std::string Describe() const {
    switch (kind) {
      case kText:
        return "text " + fuzz::Printable(text);
      case kNumber:
        return "number " + std::to_string(number);
      case kOverflow:
        return "overflow failure";
    }
    return "?";
  }
};

unsigned At16(const std::uint8_t* data) { return data[0] | (data[1] << 8); }

// The reader as a plain sequence: probe what was stored, read what is there
// now into a buffer of the probed size.
Outcome Model(const std::optional<Value>& probed, const std::optional<Value>& now) {
  Outcome out;
  if (!probed) return out;  // type stays 0
  if (probed->type == 1) {
    if (!now || now->bytes.size() > probed->bytes.size()) return out;  // not found / more data
    const std::string& read = now->bytes;
    for (size_t i = 0; i < read.size(); ++i) {
      if (read[i] != '\0') continue;
      if (i + 1 > 32767) {
        out.kind = Outcome::kOverflow;
        return out;
      }
      out.text = read.substr(0, i);
      return out;
    }
    out.text = read;
    return out;
  }
  if (probed->type == 4) {
    if (!now || now->bytes.size() > 4) return out;
    std::uint32_t number = 0;
    for (size_t i = 0; i < now->bytes.size(); ++i) {
      number |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(now->bytes[i])) << (8 * i);
    }
    out.kind = Outcome::kNumber;
    out.number = static_cast<std::int32_t>(number);
    return out;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  const std::uint8_t mode = data[1];
  const size_t body = size - kHeader;
  const size_t split = std::min<size_t>(At16(data + 9), body);
  const char* bytes = reinterpret_cast<const char*>(data + kHeader);

  const Value stored{
      data[0], std::string(At16(data + 2), static_cast<char>(data[4])) + std::string(bytes, split)};
  const Value replacement{data[5], std::string(At16(data + 6), static_cast<char>(data[8])) +
                                       std::string(bytes + split, body - split)};
  const int change = mode & 3;
  const bool key_missing = (mode & 4) != 0;
  const bool value_missing = (mode & 8) != 0;

  platform::SimulatedHost host;
  std::optional<Value> probed;
  if (!key_missing) {
    if (value_missing) {
      host.AddRegistryKey(platform::kHkeyLocalMachine, kKey);
    } else {
      host.SetRegistryValue(platform::kHkeyLocalMachine, kKey, kName, stored.type, stored.bytes);
      probed = stored;
    }
  }
  std::optional<Value> now = probed;
  if (!key_missing && change == 1) {
    now = replacement;
    host.AfterNextSizeProbe([&] {
      host.SetRegistryValue(platform::kHkeyLocalMachine, kKey, kName, replacement.type,
                            replacement.bytes);
    });
  } else if (!key_missing && change == 2) {
    now.reset();
    host.AfterNextSizeProbe(
        [&] { host.RemoveRegistryValue(platform::kHkeyLocalMachine, kKey, kName); });
  }

  const Outcome expected = Model(probed, now);
  Outcome actual;
  const platform::Result<checker::RegistryValue> value =
      checker::ReadRegistryValue(host, platform::kHkeyLocalMachine, kKey, kName);
  if (!value.ok()) {
    if (value.failure().number() != platform::error::kArithmeticOverflow) {
      fuzz::Mismatch("failure number", "overflow", std::to_string(value.failure().number()));
    }
    actual.kind = Outcome::kOverflow;
  } else if (value->IsNumber()) {
    actual.kind = Outcome::kNumber;
    actual.number = static_cast<std::int32_t>(std::stoll(value->Text()));
  } else {
    actual.text = value->Text();
  }
  if (actual.kind != expected.kind || actual.text != expected.text ||
      actual.number != expected.number) {
    fuzz::Mismatch("ReadRegistryValue", expected.Describe(), actual.Describe());
  }
  // The key is closed on every way out but the overflow, which leaves the
  // reader before it closes anything.
  const int open_keys = expected.kind == Outcome::kOverflow && !key_missing ? 1 : 0;
  if (host.open_registry_keys() != open_keys) {
    fuzz::Mismatch("open registry keys", std::to_string(open_keys),
                   std::to_string(host.open_registry_keys()));
  }
  if (expected.kind != Outcome::kOverflow && checker::LastRegistryStatus() != 0 && !key_missing) {
    fuzz::Mismatch("status of the closing call", "0",
                   std::to_string(checker::LastRegistryStatus()));
  }
  return 0;
}
