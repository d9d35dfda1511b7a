#ifndef LAUNCHER_TESTS_WIN32_COM_REGISTRATION_H_
#define LAUNCHER_TESTS_WIN32_COM_REGISTRATION_H_

#include <windows.h>

#include <string>

namespace win32_test {

// Registers the automation test server (com_test_server.dll, see
// com_server/test_server_ids.h) under a ProgID while the object lives:
//   HKCR\<prog_id>\CLSID                          = {clsid}
//   HKCR\CLSID\{clsid}\InprocServer32             = <dll path>, Apartment
// and removes both again, with the server's state key, when it goes. For an
// end-to-end run of the launcher, register it as "word.application":
//   win32_test::ComRegistration word("word.application", TestServerPath());
//   win32_test::SetServerVersion("11.0");
// and read ServerQuitCalls() afterwards. Throws std::runtime_error when the
// registry cannot be written.
class ComRegistration {
 public:
  ComRegistration(const std::string& prog_id, const std::string& dll_path);
  ComRegistration(const ComRegistration&) = delete;
  ComRegistration& operator=(const ComRegistration&) = delete;
  ~ComRegistration();

 private:
  std::string prog_id_;
};

// com_test_server.dll beside the running test program.
std::string TestServerPath();

// The server's behaviour: `version` gives this text, or this number.
void SetServerVersion(const std::string& text);
void SetServerVersionNumber(DWORD number);
// `version` fails (the exception of kVersionFailure).
void SetServerVersionFails();
// Clears the record and the behaviour.
void ResetServerState();

DWORD ServerQuitCalls();
DWORD ServerLiveObjects();

}  // namespace win32_test

#endif  // LAUNCHER_TESTS_WIN32_COM_REGISTRATION_H_
