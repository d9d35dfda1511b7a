// An in-process automation server for tests: one class whose objects have a
// `version` property and a `quit` method, steered and recorded through the
// registry values described in test_server_ids.h.
#include <oaidl.h>
#include <objbase.h>
#include <windows.h>

#include <string>

#include "test_server_ids.h"

namespace {

LONG live_objects = 0;
LONG server_locks = 0;

CLSID ServerClsid() {
  CLSID clsid = {};
  wchar_t text[64] = {};
  MultiByteToWideChar(CP_ACP, 0, test_server::kClsidText, -1, text, 64);
  CLSIDFromString(text, &clsid);
  return clsid;
}

HKEY OpenState() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, test_server::kStateKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
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

// Fills *result with the configured version; false when none is configured.
bool ReadVersion(VARIANT* result) {
  HKEY key = OpenState();
  if (key == nullptr) return false;
  char text[256] = {};
  DWORD size = sizeof(text) - 1;
  DWORD type = 0;
  const LONG status = RegQueryValueExA(key, test_server::kVersionValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(text), &size);
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
    AddToNumber(test_server::kLiveObjectsValue, 1);
  }
  virtual ~TestObject() {
    AddToNumber(test_server::kLiveObjectsValue, -1);
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
      ids[0] = test_server::kVersionId;
    } else if (lstrcmpiW(names[0], L"quit") == 0) {
      ids[0] = test_server::kQuitId;
    } else {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    if (parameters != nullptr && parameters->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    if (id == test_server::kVersionId && (flags & DISPATCH_PROPERTYGET) != 0) {
      VARIANT value;
      VariantInit(&value);
      if (!ReadVersion(&value)) {
        if (exception != nullptr) {
          *exception = {};
          exception->scode = test_server::kVersionFailure;
          exception->bstrSource = Bstr("LauncherTest.Application");
          exception->bstrDescription = Bstr(test_server::kVersionFailureText);
        }
        return DISP_E_EXCEPTION;
      }
      if (result != nullptr) {
        *result = value;
      } else {
        VariantClear(&value);
      }
      return S_OK;
    }
    if (id == test_server::kQuitId && (flags & DISPATCH_METHOD) != 0) {
      AddToNumber(test_server::kQuitCallsValue, 1);
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

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (!IsEqualCLSID(clsid, ServerClsid())) {
    *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return factory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return live_objects == 0 && server_locks == 0 ? S_OK : S_FALSE; }
