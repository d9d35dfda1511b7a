#ifndef LAUNCHER_LAUNCHER_LAUNCH_SELECTION_H_
#define LAUNCHER_LAUNCHER_LAUNCH_SELECTION_H_

#include <cstdint>
#include <string>

#include "platform/host.h"

namespace checker {

class Observer;

// Where the installed Office records its version.
inline constexpr char kOfficeKeyPath[] = "Software\\Microsoft\\Office\\Common\\";
inline constexpr char kOfficeValueName[] = "LastAccessInstall";
inline constexpr char kWordClassName[] = "word.application";
// The word processor's "quit" argument that saves nothing and asks nothing
// (wdDoNotSaveChanges): a hidden word processor must not ask about a
// changed template, and the launcher writes nothing, nor makes others write.
inline constexpr std::int32_t kDoNotSaveChanges = 0;

// Decides the launch value: the entry for the host label and the Office
// version in `config_path`, else its default entry (possibly empty). Writes
// the detected values to the status form. A failure when the Office version
// cannot be found or is not numeric, or the form cannot be written; not
// when the word processor gave its version but failed to quit. `observer`,
// when given, sees each lookup and the path taken.
platform::Result<std::string> SelectLaunch(platform::Host& host, const std::string& config_path,
                                           Observer* observer = nullptr);

// The major version in the word processor's version text: its first two
// characters, or only the first when those hold a "." ("9.0" gives "9").
std::string WordMajorVersion(const std::string& version);

}  // namespace checker

#endif  // LAUNCHER_LAUNCHER_LAUNCH_SELECTION_H_
