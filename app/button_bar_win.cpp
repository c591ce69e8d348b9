// The toolbar: a toolbar control of our own class name, built from the arrangement of the
// buttons it knows, with its right-click menu and the customise dialog.
#include "app/button_bar_win.h"  // <windows.h> first: commctrl.h builds on it

#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>

#include "app/button_bar.h"
#include "app/main_layout.h"
#include "app/run_bitmaps_win.h"  // kBitmapTransparent
#include "lists/toolbar_win.h"
#include "resources/resource.h"

const char kToolbarClass[] = "QvnToolBarMcl";
const char kToolTipClass[] = "QvnToolTip";

namespace {

// What the bar owns and keeps: its pictures (the toolbar control does not free its image
// lists), its tooltip, its background, the buttons it knows, their arrangement, where that is
// saved, and the state its buttons were last shown in, so that a new arrangement shows the same.
// The bar's state is found through a window property (mingw's comctl32 import library has no
// GetWindowSubclass); the subclass owns it and removes the property with it.
constexpr char kStateProperty[] = "QvnToolBarState";

struct BarState {
    HIMAGELIST normal = nullptr;
    HIMAGELIST disabled = nullptr;
    HBRUSH background = nullptr;
    HWND tips = nullptr;
    HINSTANCE instance = nullptr;
    bool vertical = false;
    std::vector<ToolbarButton> known;
    ToolbarArrangement arrangement;
    std::string section;  // empty: the arrangement is not saved
    SelectionFacts facts;
    bool idealDay = false;
    BarState() = default;
    BarState(const BarState&) = delete;
    BarState& operator=(const BarState&) = delete;
    ~BarState() {
        if (normal) ImageList_Destroy(normal);
        if (disabled) ImageList_Destroy(disabled);
        if (background) DeleteObject(background);
        if (tips && IsWindow(tips)) DestroyWindow(tips);
    }
    const ButtonBarEntry* Find(int command) const {
        for (const ToolbarButton& b : known)
            if (b.entry.command == command && command != 0) return &b.entry;
        return nullptr;
    }
};

// A disabled button shows its picture washed out to light grey, which keeps the drawing
// readable where the toolbar's own disabled look would flatten it to a grey silhouette.
HBITMAP WashedOut(HBITMAP picture) {
    constexpr int n = kButtonBarPictureSize;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = n;
    bi.bmiHeader.biHeight = n;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD pixels[n * n] = {};
    HDC screen = GetDC(nullptr);
    HBITMAP out = nullptr;
    if (GetDIBits(screen, picture, 0, n, pixels, &bi, DIB_RGB_COLORS) == n) {
        for (DWORD& p : pixels) {
            int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (RGB(r, g, b) == kBitmapTransparent) continue;
            DWORD grey = 128 + (r * 30 + g * 59 + b * 11) / 200;
            p = (grey << 16) | (grey << 8) | grey;
        }
        out = CreateCompatibleBitmap(screen, n, n);
        if (out) SetDIBits(screen, out, 0, n, pixels, &bi, DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
    return out;
}

HBITMAP BlankPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP blank = CreateCompatibleBitmap(screen, kButtonBarPictureSize, kButtonBarPictureSize);
    ReleaseDC(nullptr, screen);
    return blank;
}

// The pictures in the order of ToolbarBitmapAt, so that a picture's index in the image lists
// is its position there. A picture that will not load leaves a blank one in its place, which
// keeps every later index right.
bool LoadBarPictures(BarState& state, HINSTANCE instance) {
    for (HIMAGELIST* list : {&state.normal, &state.disabled})
        *list = ImageList_Create(kButtonBarPictureSize, kButtonBarPictureSize, ILC_COLOR24 | ILC_MASK,
                                 kToolbarBitmapCount, 0);
    if (!state.normal || !state.disabled) return false;
    for (int i = 0; i < kToolbarBitmapCount; ++i) {
        HBITMAP picture = LoadBitmapA(instance, MAKEINTRESOURCEA(ToolbarBitmapAt(i)));
        if (!picture) picture = BlankPicture();
        HBITMAP washed = WashedOut(picture);
        ImageList_AddMasked(state.normal, picture, kBitmapTransparent);
        ImageList_AddMasked(state.disabled, washed ? washed : picture, kBitmapTransparent);
        if (washed) DeleteObject(washed);
        DeleteObject(picture);
    }
    return true;
}

void Rebuild(HWND bar, BarState& state);

// The arrangement changed by the user: shown at once and kept for the next start.
void Rearranged(HWND bar, BarState& state, ToolbarArrangement arrangement) {
    state.arrangement = std::move(arrangement);
    if (!state.section.empty()) SaveToolbarArrangement(state.section.c_str(), state.arrangement);
    Rebuild(bar, state);
}

// The entry under a point of the bar's client area, -1 for none.
int EntryAt(HWND bar, POINT at) {
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r = {};
        if (SendMessageA(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && PtInRect(&r, at)) return i;
    }
    return -1;
}

void OnRightClick(HWND bar, BarState& state, POINT at) {
    const int entry = EntryAt(bar, at);
    const bool on_entry = entry >= 0 && entry < static_cast<int>(state.arrangement.size());
    const bool on_separator = on_entry && state.arrangement[static_cast<size_t>(entry)] == 0;
    POINT screen = at;
    ClientToScreen(bar, &screen);
    const int command = ToolbarContextMenu(bar, state.instance, screen, on_entry && !on_separator, on_separator);
    if (command == CMD_TOOLBAR_CUSTOMIZE) {
        ToolbarArrangement arrangement = state.arrangement;
        if (RunCustomizeToolbar(GetParent(bar), state.instance, state.known, &arrangement))
            Rearranged(bar, state, std::move(arrangement));
    } else if ((command == CMD_TOOLBAR_REMOVE_BUTTON || command == CMD_TOOLBAR_REMOVE_SEPARATOR) && on_entry) {
        ToolbarArrangement arrangement = state.arrangement;
        arrangement.erase(arrangement.begin() + entry);
        Rearranged(bar, state, std::move(arrangement));
    }
}

LRESULT CALLBACK BarSubclass(HWND bar, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
    BarState* state = reinterpret_cast<BarState*>(data);
    switch (message) {
    case WM_RBUTTONUP:
        OnRightClick(bar, *state, POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
        return 0;
    case WM_ERASEBKGND:
        if (state->background) {
            RECT client;
            GetClientRect(bar, &client);
            FillRect(reinterpret_cast<HDC>(wparam), &client, state->background);
            return 1;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(bar, BarSubclass, id);
        RemovePropA(bar, kStateProperty);
        delete state;
        break;
    default:
        break;
    }
    return DefSubclassProc(bar, message, wparam, lparam);
}

BarState* StateOf(HWND bar) { return bar ? static_cast<BarState*>(GetPropA(bar, kStateProperty)) : nullptr; }

void ShowPicture(HWND bar, int command, int bitmap) {
    int index = ToolbarImageIndex(bitmap);
    if (index >= 0) SendMessageA(bar, TB_CHANGEBITMAP, command, MAKELPARAM(index, 0));
}

// The texts are set on the bar's own tooltip, so that no window has to answer for them.
void SetToolTips(HWND bar, const BarState& state) {
    HWND tips = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    if (!tips) return;
    for (int command : state.arrangement) {
        const ButtonBarEntry* e = state.Find(command);
        if (!e) continue;
        std::string text = ButtonToolTip(e->menuText);
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        ti.hwnd = bar;
        ti.uId = static_cast<UINT_PTR>(e->command);
        ti.lpszText = text.data();
        SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

// Our own class names over the common controls' toolbar and tooltip: the same controls, named as
// the suite's other modules find them.
bool RegisterSuperclass(HINSTANCE instance, const char* base, const char* name) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, name, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(nullptr, base, &wc)) return false;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    wc.style &= ~CS_GLOBALCLASS;
    return RegisterClassExA(&wc) != 0;
}

// The bar's entries anew from the arrangement, in the state they were last shown in.
void Rebuild(HWND bar, BarState& state) {
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(bar, TB_DELETEBUTTON, 0, 0)) {
    }
    std::vector<TBBUTTON> buttons;
    for (int command : state.arrangement) {
        TBBUTTON b = {};
        // Down the left side every entry ends its own row.
        BYTE wrap = state.vertical ? TBSTATE_WRAP : 0;
        const ButtonBarEntry* e = state.Find(command);
        if (!e) {
            b.fsStyle = TBSTYLE_SEP;
            b.fsState = wrap;
            buttons.push_back(b);
            continue;
        }
        b.iBitmap = ToolbarImageIndex(e->bitmap);
        b.idCommand = e->command;
        b.fsState = TBSTATE_ENABLED | wrap;
        b.fsStyle = e->command == kButtonBarIdealDayCommand ? TBSTYLE_CHECK : TBSTYLE_BUTTON;
        b.iString = -1;
        buttons.push_back(b);
    }
    if (!buttons.empty())
        SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SetToolTips(bar, state);
    SetButtonBarIdealDay(bar, state.idealDay);
    RefreshButtonBar(bar, state.facts);
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(bar, nullptr, TRUE);
}

}  // namespace

HWND CreateButtonBar(HWND parent, HINSTANCE instance, ButtonBarOrientation orientation, bool ideal_day,
                     const std::vector<ToolbarButton>& known, const char* section) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterSuperclass(instance, TOOLBARCLASSNAMEA, kToolbarClass) ||
        !RegisterSuperclass(instance, TOOLTIPS_CLASSA, kToolTipClass))
        return nullptr;

    bool vertical = orientation == kButtonBarVertical;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN |
                  CCS_NODIVIDER;
    if (vertical) style |= CCS_VERT;
    RECT client = {};
    GetClientRect(parent, &client);
    int width = vertical ? kButtonBarWidth : client.right;
    int height = vertical ? client.bottom : kButtonBarHeight;
    HWND bar = CreateWindowExA(0, kToolbarClass, "", style, 0, 0, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonBarControlId)),
                               instance, nullptr);
    if (!bar) return nullptr;

    auto state = std::make_unique<BarState>();
    state->instance = instance;
    state->vertical = vertical;
    state->known = known;
    state->idealDay = ideal_day;
    if (section) state->section = section;
    state->arrangement = section ? LoadToolbarArrangement(section, known) : DefaultToolbarArrangement(known);
    if (HBITMAP pattern = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_TOOLBAR_BACKGROUND))) {
        state->background = CreatePatternBrush(pattern);
        DeleteObject(pattern);  // the brush keeps its own copy
    }
    state->tips = CreateWindowExA(WS_EX_TOPMOST, kToolTipClass, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar, nullptr, instance,
                                  nullptr);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kButtonBarPictureSize, kButtonBarPictureSize));
    if (state->tips) SendMessageA(bar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(state->tips), 0);
    const bool pictures = LoadBarPictures(*state, instance);
    if (!SetPropA(bar, kStateProperty, state.get())) {
        DestroyWindow(bar);
        return nullptr;
    }
    if (!SetWindowSubclass(bar, BarSubclass, 1, reinterpret_cast<DWORD_PTR>(state.get()))) {
        RemovePropA(bar, kStateProperty);
        DestroyWindow(bar);  // a bar that could not free what it holds is not made
        return nullptr;
    }
    // From here the bar owns its state: its subclass deletes it when the bar is destroyed.
    BarState* owned = state.release();
    if (pictures) {
        SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(owned->normal));
        SendMessageA(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(owned->disabled));
    }
    Rebuild(bar, *owned);
    return bar;
}

ToolbarArrangement ButtonBarArrangement(HWND bar) {
    const BarState* state = StateOf(bar);
    return state ? state->arrangement : ToolbarArrangement{};
}

void SetButtonBarIdealDay(HWND bar, bool on) {
    BarState* state = StateOf(bar);
    if (!state) return;
    state->idealDay = on;
    const ButtonBarEntry* toggle = FindButtonBarEntry(kButtonBarIdealDayCommand);
    if (SendMessageA(bar, TB_COMMANDTOINDEX, kButtonBarIdealDayCommand, 0) < 0) return;
    SendMessageA(bar, TB_CHECKBUTTON, kButtonBarIdealDayCommand, MAKELPARAM(on ? TRUE : FALSE, 0));
    ShowPicture(bar, kButtonBarIdealDayCommand, on ? toggle->onBitmap : toggle->bitmap);
}

void RefreshButtonBar(HWND bar, const SelectionFacts& facts) {
    BarState* state = StateOf(bar);
    if (!state) return;
    state->facts = facts;
    for (int command : state->arrangement) {
        const ButtonBarEntry* e = state->Find(command);
        if (!e) continue;
        ButtonLook look = ButtonLookFor(*e, facts, state->idealDay);
        SendMessageA(bar, TB_ENABLEBUTTON, e->command, MAKELPARAM(look.enabled ? TRUE : FALSE, 0));
        ShowPicture(bar, e->command, look.bitmap);
    }
}
