#ifndef LAUNCHER_TESTS_WIN32_COM_REGISTRATION_H_
#define LAUNCHER_TESTS_WIN32_COM_REGISTRATION_H_

#include <windows.h>

#include <string>

namespace win32_test {

// Registers the automation test server (see com_server/test_server_ids.h)
// under a ProgID while the object lives, in process or as a local server:
//   HKCR\<prog_id>\CLSID                          = {clsid}
//   HKCR\CLSID\{clsid}\InprocServer32             = <dll path>, Apartment
//   or HKCR\CLSID\{clsid}\LocalServer32           = "<exe path>"
// and removes both again, with the server's state key, when it goes, once a
// local server it started has ended (ended by force after a few seconds:
// some tests leave it inside a call that never returns). For an
// end-to-end run of the launcher, register it as "word.application":
//   win32_test::ComRegistration word("word.application", TestServerPath());
//   win32_test::SetServerVersion("11.0");
// and read ServerQuitCalls() afterwards. Throws std::runtime_error when the
// registry cannot be written.
class ComRegistration {
 public:
  // `server_path` names com_test_server.dll or com_local_server.exe.
  ComRegistration(const std::string& prog_id, const std::string& server_path);
  ComRegistration(const ComRegistration&) = delete;
  ComRegistration& operator=(const ComRegistration&) = delete;
  ~ComRegistration();

 private:
  std::string prog_id_;
};

// com_test_server.dll and com_local_server.exe beside the running test program.
std::string TestServerPath();
std::string LocalServerPath();

// The server's behaviour: `version` gives this text, or this number.
void SetServerVersion(const std::string& text);
void SetServerVersionNumber(DWORD number);
// `version` fails (the exception of kVersionFailure).
void SetServerVersionFails();
// `version` answers only after `milliseconds`.
void SetServerVersionDelay(DWORD milliseconds);
// `quit` fails (the exception of kQuitFailure).
void SetServerQuitFails();
// `quit` answers only after `milliseconds`; an object is made only after them.
void SetServerQuitDelay(DWORD milliseconds);
void SetServerCreateDelay(DWORD milliseconds);
// The local server rejects the first `count` calls on the object.
void SetServerRejectCalls(DWORD count);
// Clears the record and the behaviour.
void ResetServerState();

DWORD ServerQuitCalls();
// The number the last `quit` was given (test_server::kNoArgument: none).
DWORD ServerQuitArgument();
DWORD ServerLiveObjects();
DWORD ServerRejectedCalls();

}  // namespace win32_test

#endif  // LAUNCHER_TESTS_WIN32_COM_REGISTRATION_H_
