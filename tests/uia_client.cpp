// A Windows screen reader's view of a window, through UI Automation as NVDA and Narrator get
// it: finds the top-level window by its title, takes its element (the first request for it
// wakes Qt's accessibility), then prints the focused element and every focus change, one line
// each: "focus NAME|CONTROL TYPE|VALUE", in UTF-8 (the value where the element has one). It prints
// "ready" once it listens, and ends when its standard input closes.

#include <windows.h>

#include <uiautomation.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    if (text == nullptr) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

void Print(IUIAutomationElement* element) {
    BSTR name = nullptr;
    BSTR value = nullptr;
    CONTROLTYPEID type = 0;
    element->get_CurrentName(&name);
    element->get_CurrentControlType(&type);
    VARIANT variant;
    VariantInit(&variant);
    // Wine 10 answers E_NOTIMPL for a value, as for every control pattern: then none is printed.
    if (SUCCEEDED(element->GetCurrentPropertyValueEx(UIA_ValueValuePropertyId, FALSE, &variant)) &&
        variant.vt == VT_BSTR) {
        value = SysAllocString(variant.bstrVal);
    }
    VariantClear(&variant);
    std::printf("focus %s|%d|%s\n", Utf8(name).c_str(), int(type), Utf8(value).c_str());
    std::fflush(stdout);
    SysFreeString(name);
    SysFreeString(value);
}

// Lives as long as the program; the count only answers COM's questions.
class FocusPrinter : public IUIAutomationFocusChangedEventHandler {
public:
    virtual ~FocusPrinter() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IUIAutomationFocusChangedEventHandler)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_count)); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(InterlockedDecrement(&m_count)); }
    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement* sender) override {
        Print(sender);
        return S_OK;
    }

private:
    LONG m_count = 1;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: uia-client WINDOW-TITLE\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IUIAutomation* automation = nullptr;
    if (FAILED(CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IUIAutomation, reinterpret_cast<void**>(&automation)))) {
        std::fprintf(stderr, "uia-client: no UI Automation\n");
        return 1;
    }
    HWND window = nullptr;
    for (int tries = 0; window == nullptr && tries < 1200; ++tries) {
        window = FindWindowW(nullptr, argv[1]);
        Sleep(window == nullptr ? 100 : 0);
    }
    IUIAutomationElement* root = nullptr;
    if (window == nullptr || FAILED(automation->ElementFromHandle(window, &root))) {
        std::fprintf(stderr, "uia-client: no window titled so\n");
        return 1;
    }
    FocusPrinter printer;
    if (FAILED(automation->AddFocusChangedEventHandler(nullptr, &printer))) {
        std::fprintf(stderr, "uia-client: cannot follow the focus\n");
        return 1;
    }
    IUIAutomationElement* focused = nullptr;
    if (SUCCEEDED(automation->GetFocusedElement(&focused)) && focused != nullptr) {
        Print(focused);
        focused->Release();
    }
    std::printf("ready\n");
    std::fflush(stdout);
    char line[256];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
    }
    automation->RemoveAllEventHandlers();
    root->Release();
    automation->Release();
    CoUninitialize();
    return 0;
}
