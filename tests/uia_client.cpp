// A Windows screen reader's view of a window, through UI Automation as NVDA and Narrator get
// it: finds the top-level window by its title, takes its element (the first request for it
// wakes Qt's accessibility), then prints the focused element and every focus change, one line
// each: "focus NAME|CONTROL TYPE|VALUE" in UTF-8, the value where the element gives one. It
// prints "ready" once it listens, and ends when its standard input closes.

#include <windows.h>

#include <uiautomation.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    std::string bytes(text == nullptr ? 0 : 4 * wcslen(text), '\0');
    bytes.resize(size_t(WideCharToMultiByte(CP_UTF8, 0, text, int(bytes.size() / 4), bytes.data(),
                                            int(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// Lives as long as the program; the count only answers COM's questions.
class FocusPrinter : public IUIAutomationFocusChangedEventHandler {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        const bool known =
            id == __uuidof(IUnknown) || id == __uuidof(IUIAutomationFocusChangedEventHandler);
        *object = known ? this : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement* element) override {
        BSTR name = nullptr;
        CONTROLTYPEID type = 0;
        VARIANT value;
        VariantInit(&value);
        element->get_CurrentName(&name);
        element->get_CurrentControlType(&type);
        // Wine 10 answers E_NOTIMPL here, as for every control pattern: no value is printed.
        element->GetCurrentPropertyValueEx(UIA_ValueValuePropertyId, FALSE, &value);
        std::printf("focus %s|%d|%s\n", Utf8(name).c_str(), int(type),
                    Utf8(value.vt == VT_BSTR ? value.bstrVal : nullptr).c_str());
        std::fflush(stdout);
        SysFreeString(name);
        VariantClear(&value);
        return S_OK;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IUIAutomation* automation = nullptr;
    CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER, IID_IUIAutomation,
                     reinterpret_cast<void**>(&automation));
    HWND window = nullptr;
    for (int tries = 0; argc == 2 && window == nullptr && tries < 1200; ++tries) {
        window = FindWindowW(nullptr, argv[1]);
        Sleep(window == nullptr ? 100 : 0);
    }
    IUIAutomationElement* root = nullptr;
    IUIAutomationElement* focused = nullptr;
    FocusPrinter printer;
    if (automation == nullptr || window == nullptr ||
        FAILED(automation->ElementFromHandle(window, &root)) ||
        FAILED(automation->AddFocusChangedEventHandler(nullptr, &printer))) {
        std::fprintf(stderr, "uia-client: no UI Automation, or no window of that title\n");
        return 1;
    }
    if (SUCCEEDED(automation->GetFocusedElement(&focused)) && focused != nullptr) {
        printer.HandleFocusChangedEvent(focused);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (char line[256]; std::fgets(line, sizeof line, stdin) != nullptr;) {
    }
    return 0;
}
