// Application object, module state and extension-module registration of the MFC subset.
//
// One module state per process lives in MfcLiteU.dll: the current resource handle, the
// application object and the chain of registered extension modules. Resource look-ups
// try the current resource handle first, then each extension module in the order of
// registration.
#pragma once
#include <windows.h>
#include "afxstr.h"
#include "afxtempl.h"

// Registration record of one extension DLL.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// Fills state for hModule. FALSE when hModule is null (the DLL must refuse to load).
MFCLITE_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Unregisters and deletes the module's CDynLinkLibrary objects; bAll also clears state.
MFCLITE_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Links an extension module into the process's resource chain for as long as it lives.
class MFCLITE_API CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    virtual ~CDynLinkLibrary();
    static void* operator new(size_t size);
    static void operator delete(void* p);

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

class MFCLITE_API CWinApp {
public:
    explicit CWinApp(const wchar_t* pszAppName = nullptr);
    virtual ~CWinApp();
    virtual BOOL InitInstance();

    // Heap copy owned by the application object; replace it with SetAppName.
    const wchar_t* m_pszAppName;
    HINSTANCE m_hInstance;

    void SetAppName(const wchar_t* name);
};

MFCLITE_API CWinApp* AfxGetApp();
MFCLITE_API HINSTANCE AfxGetInstanceHandle();
MFCLITE_API HINSTANCE AfxGetResourceHandle();
MFCLITE_API void AfxSetResourceHandle(HINSTANCE hResource);
// The first module of the chain (current resource handle, then extensions) that holds
// the resource; null when none does.
MFCLITE_API HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type);
// Number of registered extension modules (diagnostics and tests).
MFCLITE_API int AfxGetExtensionModuleCount();
