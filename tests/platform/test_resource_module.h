// The platform tests' resource library, registered as an MFC extension module for the life
// of the object.
#pragma once
#include <afxwin.h>
#include "unique_res.h"

class ResourceModule {
public:
    ResourceModule() : lib_(LoadLibraryW(L"MfcTestRes.dll")) {
        if (lib_ && AfxInitExtensionModule(ext_, lib_.get())) new CDynLinkLibrary(ext_);
    }
    ~ResourceModule() { AfxTermExtensionModule(ext_, TRUE); }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    bool Ok() const { return ext_.bInitialized != FALSE; }
    HMODULE Get() const { return lib_.get(); }

private:
    win32::unique_hmodule lib_;
    AFX_EXTENSION_MODULE ext_{};
};
