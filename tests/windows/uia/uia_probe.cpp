// What a Windows screen reader is given by Brenvo, read through UI Automation (UIA):
// a console program run beside brenvo.exe. It prints one line per focus change, as
// "focus {element}", and answers commands read from standard input, one a line:
//   tree CAPTION   "tree [{window}, ...]": every shown top-level window of that caption,
//                  each with its elements in tree (reading) order
//   popups         "popups N": how many pop-up windows (Qt's menus) are shown
//   windows        "windows [[title, class], ...]": every shown top-level window
//   quit
// An element is {"depth", "type" (control type id), "name", "rect" [left, top, width,
// height], "offscreen", "focus", "focusable", "enabled", "class", "id"}.
// mingw-w64's headers lack the UIA client interfaces: the few used here are declared
// below, in the order of Microsoft's documented vtables.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

// Outside any anonymous namespace: these objects are made by UIA, and a compiler that
// saw every class of an interface in one file would take their calls for its own.
struct IUIAutomationElement;

struct IUIAutomationCondition : IUnknown
{
};

struct IUIAutomationTreeWalker : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetParentElement(IUIAutomationElement *, IUIAutomationElement **) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstChildElement(IUIAutomationElement *, IUIAutomationElement **) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLastChildElement(IUIAutomationElement *, IUIAutomationElement **) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextSiblingElement(IUIAutomationElement *, IUIAutomationElement **) = 0;
};

struct IUIAutomationElement : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual void STDMETHODCALLTYPE unusedGetRuntimeId() = 0;
    virtual void STDMETHODCALLTYPE unusedFindFirst() = 0;
    virtual void STDMETHODCALLTYPE unusedFindAll() = 0;
    virtual void STDMETHODCALLTYPE unusedFindFirstBuildCache() = 0;
    virtual void STDMETHODCALLTYPE unusedFindAllBuildCache() = 0;
    virtual void STDMETHODCALLTYPE unusedBuildUpdatedCache() = 0;
    // A stub in Wine 10: the Ex form below is the one that answers.
    virtual void STDMETHODCALLTYPE unusedGetCurrentPropertyValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(int property, BOOL ignoreDefault, VARIANT *value) = 0;
};

struct IUIAutomationFocusChangedEventHandler : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement *sender) = 0;
};

struct IUIAutomation : IUnknown
{
    virtual void STDMETHODCALLTYPE unusedCompareElements() = 0;
    virtual void STDMETHODCALLTYPE unusedCompareRuntimeIds() = 0;
    virtual void STDMETHODCALLTYPE unusedGetRootElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND, IUIAutomationElement **) = 0;
    virtual void STDMETHODCALLTYPE unusedElementFromPoint() = 0;
    virtual void STDMETHODCALLTYPE unusedGetFocusedElement() = 0;
    virtual void STDMETHODCALLTYPE unusedGetRootElementBuildCache() = 0;
    virtual void STDMETHODCALLTYPE unusedElementFromHandleBuildCache() = 0;
    virtual void STDMETHODCALLTYPE unusedElementFromPointBuildCache() = 0;
    virtual void STDMETHODCALLTYPE unusedGetFocusedElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(IUIAutomationCondition *, IUIAutomationTreeWalker **) = 0;
    virtual void STDMETHODCALLTYPE unusedControlViewWalker() = 0;
    virtual void STDMETHODCALLTYPE unusedContentViewWalker() = 0;
    virtual void STDMETHODCALLTYPE unusedRawViewWalker() = 0;
    virtual void STDMETHODCALLTYPE unusedRawViewCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedControlViewCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedContentViewCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateCacheRequest() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUIAutomationCondition **) = 0;
    virtual void STDMETHODCALLTYPE unusedCreateFalseCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedCreatePropertyCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedCreatePropertyConditionEx() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateAndCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateAndConditionFromArray() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateAndConditionFromNativeArray() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateOrCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateOrConditionFromArray() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateOrConditionFromNativeArray() = 0;
    virtual void STDMETHODCALLTYPE unusedCreateNotCondition() = 0;
    virtual void STDMETHODCALLTYPE unusedAddAutomationEventHandler() = 0;
    virtual void STDMETHODCALLTYPE unusedRemoveAutomationEventHandler() = 0;
    virtual void STDMETHODCALLTYPE unusedAddPropertyChangedEventHandlerNativeArray() = 0;
    virtual void STDMETHODCALLTYPE unusedAddPropertyChangedEventHandler() = 0;
    virtual void STDMETHODCALLTYPE unusedRemovePropertyChangedEventHandler() = 0;
    virtual void STDMETHODCALLTYPE unusedAddStructureChangedEventHandler() = 0;
    virtual void STDMETHODCALLTYPE unusedRemoveStructureChangedEventHandler() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddFocusChangedEventHandler(IUnknown *cacheRequest,
                                                                  IUIAutomationFocusChangedEventHandler *) = 0;
};

namespace {

const CLSID CLSID_CUIAutomation = {0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
const IID IID_IUIAutomation = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
const IID IID_FocusChangedHandler = {0xc270f6b5, 0x5c69, 0x4290, {0x97, 0x45, 0x7a, 0x7f, 0x97, 0x16, 0x94, 0x68}};

enum Property {
    BoundingRectangle = 30001,
    ControlType = 30003,
    Name = 30005,
    HasKeyboardFocus = 30008,
    IsKeyboardFocusable = 30009,
    IsEnabled = 30010,
    AutomationId = 30011,
    ClassName = 30012,
    IsOffscreen = 30022,
};

std::mutex outputLock;

// Focus events arrive on UIA's own threads: one whole line at a time.
void printLine(const std::string &line)
{
    const std::lock_guard<std::mutex> hold(outputLock);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string utf8(const wchar_t *text, int length)
{
    if (length <= 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string jsonString(const std::string &text)
{
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

struct Variant
{
    VARIANT v;
    Variant() { VariantInit(&v); }
    ~Variant() { VariantClear(&v); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;
};

std::string textProperty(IUIAutomationElement *element, int property)
{
    Variant value;
    if (FAILED(element->GetCurrentPropertyValueEx(property, FALSE, &value.v)) || value.v.vt != VT_BSTR
        || !value.v.bstrVal)
        return {};
    return utf8(value.v.bstrVal, static_cast<int>(SysStringLen(value.v.bstrVal)));
}

std::string boolProperty(IUIAutomationElement *element, int property)
{
    Variant value;
    if (FAILED(element->GetCurrentPropertyValueEx(property, FALSE, &value.v)) || value.v.vt != VT_BOOL)
        return "null";
    return value.v.boolVal ? "true" : "false";
}

long intProperty(IUIAutomationElement *element, int property)
{
    Variant value;
    if (FAILED(element->GetCurrentPropertyValueEx(property, FALSE, &value.v)) || value.v.vt != VT_I4)
        return 0;
    return value.v.lVal;
}

std::string rectangle(IUIAutomationElement *element)
{
    Variant value;
    if (FAILED(element->GetCurrentPropertyValueEx(BoundingRectangle, FALSE, &value.v))
        || value.v.vt != (VT_ARRAY | VT_R8) || !value.v.parray)
        return "null";
    LONG low = 0, high = -1;
    SafeArrayGetLBound(value.v.parray, 1, &low);
    SafeArrayGetUBound(value.v.parray, 1, &high);
    if (high - low + 1 != 4)
        return "null";
    std::string out = "[";
    for (LONG i = low; i <= high; ++i) {
        double d = 0;
        SafeArrayGetElement(value.v.parray, &i, &d);
        out += std::to_string(static_cast<long>(d)) + (i < high ? "," : "]");
    }
    return out;
}

std::string describe(IUIAutomationElement *element, int depth)
{
    return "{\"depth\":" + std::to_string(depth) + ",\"type\":" + std::to_string(intProperty(element, ControlType))
           + ",\"name\":" + jsonString(textProperty(element, Name)) + ",\"rect\":" + rectangle(element)
           + ",\"offscreen\":" + boolProperty(element, IsOffscreen) + ",\"focus\":"
           + boolProperty(element, HasKeyboardFocus) + ",\"focusable\":" + boolProperty(element, IsKeyboardFocusable)
           + ",\"enabled\":" + boolProperty(element, IsEnabled)
           + ",\"class\":" + jsonString(textProperty(element, ClassName))
           + ",\"id\":" + jsonString(textProperty(element, AutomationId)) + "}";
}

class FocusHandler final : public IUIAutomationFocusChangedEventHandler
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (iid == IID_IUnknown || iid == IID_FocusChangedHandler) {
            *out = static_cast<IUIAutomationFocusChangedEventHandler *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references); }
    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement *sender) override
    {
        if (sender)
            printLine("focus " + describe(sender, 0));
        return S_OK;
    }

private:
    LONG references = 1; // lives as long as the program
};

// Depth first, children in the order a reader reads them; bounded, should a provider
// ever report a cycle.
void walk(IUIAutomationTreeWalker *walker, IUIAutomationElement *element, int depth, std::vector<std::string> &out)
{
    if (out.size() >= 1000 || depth > 30)
        return;
    out.push_back(describe(element, depth));
    IUIAutomationElement *child = nullptr;
    if (FAILED(walker->GetFirstChildElement(element, &child)))
        return;
    while (child) {
        walk(walker, child, depth + 1, out);
        IUIAutomationElement *next = nullptr;
        if (FAILED(walker->GetNextSiblingElement(child, &next)))
            next = nullptr;
        child->Release();
        child = next;
    }
}

struct Search
{
    std::wstring caption;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<Search *>(data);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && search->caption == title)
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK countPopup(HWND window, LPARAM data)
{
    // Qt registers a window class of its own for pop-ups ("Qt<version>QWindowPopup...").
    wchar_t name[256] = {};
    if (IsWindowVisible(window) && GetClassNameW(window, name, 256) && std::wcsstr(name, L"QWindowPopup"))
        ++*reinterpret_cast<int *>(data);
    return TRUE;
}

BOOL CALLBACK listWindow(HWND window, LPARAM data)
{
    wchar_t title[256] = {}, name[256] = {};
    if (!IsWindowVisible(window))
        return TRUE;
    const int titled = GetWindowTextW(window, title, 256);
    const int named = GetClassNameW(window, name, 256);
    auto *out = reinterpret_cast<std::string *>(data);
    *out += std::string(out->back() == '[' ? "" : ",") + "[" + jsonString(utf8(title, titled)) + ","
            + jsonString(utf8(name, named)) + "]";
    return TRUE;
}

std::string tree(IUIAutomation *automation, IUIAutomationTreeWalker *walker, const std::wstring &caption)
{
    Search search{caption, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    std::string out = "tree [";
    for (size_t i = 0; i < search.found.size(); ++i) {
        IUIAutomationElement *root = nullptr;
        std::vector<std::string> elements;
        if (SUCCEEDED(automation->ElementFromHandle(search.found[i], &root)) && root) {
            walk(walker, root, 0, elements);
            root->Release();
        }
        out += std::string(i ? "," : "")
               + "{\"foreground\":" + (GetForegroundWindow() == search.found[i] ? "true" : "false") + ",\"elements\":[";
        for (size_t j = 0; j < elements.size(); ++j)
            out += (j ? "," : "") + elements[j];
        out += "]}";
    }
    return out + "]";
}

} // namespace

int wmain()
{
    _setmode(_fileno(stdout), _O_BINARY);
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 2;
    IUIAutomation *automation = nullptr;
    IUIAutomationCondition *everything = nullptr;
    IUIAutomationTreeWalker *walker = nullptr;
    static FocusHandler focus;
    if (FAILED(CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER, IID_IUIAutomation,
                                reinterpret_cast<void **>(&automation)))
        || FAILED(automation->CreateTrueCondition(&everything))
        || FAILED(automation->CreateTreeWalker(everything, &walker))
        || FAILED(automation->AddFocusChangedEventHandler(nullptr, &focus))) {
        printLine("error UI Automation is not available");
        return 2;
    }
    printLine("ready");
    char line[1024];
    while (std::fgets(line, sizeof line, stdin)) {
        std::string command(line);
        while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
            command.pop_back();
        if (command == "quit")
            break;
        if (command == "windows") {
            std::string list = "[";
            EnumWindows(listWindow, reinterpret_cast<LPARAM>(&list));
            printLine("windows " + list + "]");
        } else if (command == "popups") {
            int popups = 0;
            EnumWindows(countPopup, reinterpret_cast<LPARAM>(&popups));
            printLine("popups " + std::to_string(popups));
        } else if (command.rfind("tree ", 0) == 0) {
            const std::string caption = command.substr(5);
            std::wstring wide(caption.size(), L'\0');
            const int n = MultiByteToWideChar(CP_UTF8, 0, caption.data(), static_cast<int>(caption.size()), wide.data(),
                                              static_cast<int>(wide.size()));
            wide.resize(n > 0 ? n : 0);
            printLine(tree(automation, walker, wide));
        } else {
            printLine("error unknown command: " + command);
        }
    }
    // The process ends here; Wine's UIA threads need no orderly goodbye.
    std::fflush(stdout);
    ExitProcess(0);
}
