// The automation test server's class, shared by the in-process DLL and the
// local server EXE: objects with a `version` property and a `quit` method,
// steered and recorded through the registry values of test_server_ids.h.
#include "test_object.h"

#include <string>

#include "test_server_ids.h"

namespace test_server {
namespace {

LONG live_objects = 0;
LONG server_locks = 0;
LONG objects_created = 0;

HKEY OpenState() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kStateKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

DWORD ReadNumber(HKEY key, const char* name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return 0;
  }
  return value;
}

DWORD ReadState(const char* name) {
  HKEY key = OpenState();
  if (key == nullptr) return 0;
  const DWORD value = ReadNumber(key, name);
  RegCloseKey(key);
  return value;
}

void WriteState(const char* name, DWORD value) {
  HKEY key = OpenState();
  if (key == nullptr) return;
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

void AddToNumber(const char* name, LONG delta) {
  HKEY key = OpenState();
  if (key == nullptr) return;
  DWORD value = ReadNumber(key, name) + static_cast<DWORD>(delta);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

BSTR Bstr(const char* text) {
  wchar_t wide[256] = {};
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 256);
  return SysAllocString(wide);
}

HRESULT Raise(EXCEPINFO* exception, long code, const char* text) {
  if (exception != nullptr) {
    *exception = {};
    exception->scode = code;
    exception->bstrSource = Bstr("LauncherTest.Application");
    exception->bstrDescription = Bstr(text);
  }
  return DISP_E_EXCEPTION;
}

// Fills *result with the configured version; false when none is configured.
bool ReadVersion(VARIANT* result) {
  HKEY key = OpenState();
  if (key == nullptr) return false;
  char text[256] = {};
  DWORD size = sizeof(text) - 1;
  DWORD type = 0;
  const LONG status =
      RegQueryValueExA(key, kVersionValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return false;
  if (type == REG_DWORD) {
    result->vt = VT_I4;
    result->lVal = *reinterpret_cast<LONG*>(text);
    return true;
  }
  if (type != REG_SZ) return false;
  result->vt = VT_BSTR;
  result->bstrVal = Bstr(text);
  return true;
}

class TestObject : public IDispatch {
 public:
  TestObject() {
    InterlockedIncrement(&live_objects);
    InterlockedIncrement(&objects_created);
    AddToNumber(kLiveObjectsValue, 1);
  }
  virtual ~TestObject() {
    AddToNumber(kLiveObjectsValue, -1);
    InterlockedDecrement(&live_objects);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    if (lstrcmpiW(names[0], L"version") == 0) {
      ids[0] = kVersionId;
    } else if (lstrcmpiW(names[0], L"quit") == 0) {
      ids[0] = kQuitId;
    } else {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    const UINT arguments = parameters != nullptr ? parameters->cArgs : 0;
    if (id == kVersionId && (flags & DISPATCH_PROPERTYGET) != 0) {
      if (arguments != 0) return DISP_E_BADPARAMCOUNT;
      // A word processor held up by a dialog: this thread answers nothing meanwhile.
      if (const DWORD delay = ReadState(kVersionDelayValue); delay != 0) Sleep(delay);
      VARIANT value;
      VariantInit(&value);
      if (!ReadVersion(&value)) return Raise(exception, kVersionFailure, kVersionFailureText);
      if (result != nullptr) {
        *result = value;
      } else {
        VariantClear(&value);
      }
      return S_OK;
    }
    if (id == kQuitId && (flags & DISPATCH_METHOD) != 0) {
      // Quit(SaveChanges): the launcher's number, or none.
      if (arguments > 1) return DISP_E_BADPARAMCOUNT;
      const VARIANT* save = arguments == 1 ? &parameters->rgvarg[0] : nullptr;
      if (save != nullptr && save->vt != VT_I4) return DISP_E_TYPEMISMATCH;
      WriteState(kQuitArgumentValue, save != nullptr ? static_cast<DWORD>(save->lVal) : kNoArgument);
      if (const DWORD delay = ReadState(kQuitDelayValue); delay != 0) Sleep(delay);
      AddToNumber(kQuitCallsValue, 1);
      if (ReadState(kQuitFailsValue) != 0) return Raise(exception, kQuitFailure, kQuitFailureText);
      if (result != nullptr) VariantInit(result);
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  LONG references_ = 1;
};

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory: counting references would only tell the server lock.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    // A word processor held by a first-run dialog before its object exists.
    if (const DWORD delay = ReadState(kCreateDelayValue); delay != 0) Sleep(delay);
    TestObject* created = new TestObject();
    const HRESULT status = created->QueryInterface(iid, object);
    created->Release();
    return status;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&server_locks);
    } else {
      InterlockedDecrement(&server_locks);
    }
    return S_OK;
  }
};

Factory factory;

}  // namespace

CLSID ServerClsid() {
  CLSID clsid = {};
  wchar_t text[64] = {};
  MultiByteToWideChar(CP_ACP, 0, kClsidText, -1, text, 64);
  CLSIDFromString(text, &clsid);
  return clsid;
}

IClassFactory* ClassFactory() { return &factory; }

bool InUse() { return live_objects != 0 || server_locks != 0; }

bool HasServed() { return objects_created != 0; }

void RecordServerProcess() {
  HKEY key = OpenState();
  if (key == nullptr) return;
  const DWORD id = GetCurrentProcessId();
  RegSetValueExA(key, kServerProcessValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&id),
                 sizeof(id));
  RegCloseKey(key);
}

DWORD AnswerIncomingCall(const INTERFACEINFO* call) {
  if (call == nullptr || !IsEqualIID(call->iid, IID_IDispatch)) return SERVERCALL_ISHANDLED;
  if (ReadState(kRejectedCallsValue) >= ReadState(kRejectCallsValue)) return SERVERCALL_ISHANDLED;
  AddToNumber(kRejectedCallsValue, 1);
  return SERVERCALL_REJECTED;
}

}  // namespace test_server
