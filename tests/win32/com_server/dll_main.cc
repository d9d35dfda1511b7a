// The automation test server in process: com_test_server.dll.
#include "test_object.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (!IsEqualCLSID(clsid, test_server::ServerClsid())) {
    *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return test_server::ClassFactory()->QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return test_server::InUse() ? S_FALSE : S_OK; }
