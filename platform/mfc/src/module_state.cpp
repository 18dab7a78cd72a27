// The process's MFC module state: resource handle, application object, extension chain.
#include "afxwin.h"
#include <stdlib.h>
#include <wchar.h>
#include <mutex>

namespace {

struct ModuleState {
    std::mutex lock;                     // guards the chain
    HINSTANCE hResource = nullptr;       // null: the executable's module
    CWinApp* app = nullptr;
    CDynLinkLibrary* chain = nullptr;    // registration order
};

ModuleState& state() {
    static ModuleState s;
    return s;
}

bool has_resource(HMODULE h, const wchar_t* name, const wchar_t* type) {
    return h && FindResourceW(h, name, type) != nullptr;
}

} // namespace

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE h = state().hResource;
    return h ? h : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource) { state().hResource = hResource; }

HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type) {
    HINSTANCE first = AfxGetResourceHandle();
    if (has_resource(first, name, type)) return first;
    ModuleState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    for (CDynLinkLibrary* p = s.chain; p; p = p->m_pNextDLL)
        if (has_resource(p->m_hResource, name, type)) return p->m_hResource;
    return nullptr;
}

int AfxGetExtensionModuleCount() {
    ModuleState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    int n = 0;
    for (CDynLinkLibrary* p = s.chain; p; p = p->m_pNextDLL) ++n;
    return n;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& m, HMODULE hModule) {
    if (!hModule) return FALSE;
    if (!m.bInitialized) {
        m.hModule = hModule;
        m.hResource = hModule;
        m.bInitialized = TRUE;
    }
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& m, BOOL bAll) {
    if (!m.hModule) return;
    ModuleState& s = state();
    CDynLinkLibrary* doomed = nullptr;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        for (CDynLinkLibrary** pp = &s.chain; *pp;) {
            CDynLinkLibrary* p = *pp;
            if (p->m_hModule == m.hModule) {
                *pp = p->m_pNextDLL;
                p->m_pNextDLL = doomed;
                doomed = p;
            } else {
                pp = &p->m_pNextDLL;
            }
        }
    }
    while (doomed) {
        CDynLinkLibrary* next = doomed->m_pNextDLL;
        doomed->m_hModule = nullptr;   // already unlinked
        delete doomed;
        doomed = next;
    }
    if (bAll) m = AFX_EXTENSION_MODULE{};
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& m, BOOL bSystem)
    : m_hModule(m.hModule), m_hResource(m.hResource), m_bSystem(bSystem), m_pNextDLL(nullptr) {
    ModuleState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    CDynLinkLibrary** pp = &s.chain;
    while (*pp) pp = &(*pp)->m_pNextDLL;
    *pp = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    if (!m_hModule) return;   // unlinked by AfxTermExtensionModule
    ModuleState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    for (CDynLinkLibrary** pp = &s.chain; *pp; pp = &(*pp)->m_pNextDLL)
        if (*pp == this) { *pp = m_pNextDLL; break; }
}

void* CDynLinkLibrary::operator new(size_t size) { return ::operator new(size); }
void CDynLinkLibrary::operator delete(void* p) { ::operator delete(p); }

CWinApp::CWinApp(const wchar_t* pszAppName)
    : m_pszAppName(pszAppName ? _wcsdup(pszAppName) : nullptr), m_hInstance(GetModuleHandleW(nullptr)) {
    state().app = this;
}

CWinApp::~CWinApp() {
    if (state().app == this) state().app = nullptr;
    free(const_cast<wchar_t*>(m_pszAppName));
}

BOOL CWinApp::InitInstance() { return TRUE; }

void CWinApp::SetAppName(const wchar_t* name) {
    free(const_cast<wchar_t*>(m_pszAppName));
    m_pszAppName = name ? _wcsdup(name) : nullptr;
}

CWinApp* AfxGetApp() { return state().app; }
