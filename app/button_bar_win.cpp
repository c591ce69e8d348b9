// The plain button bar: a toolbar control built from the button bar table.
#include "app/button_bar_win.h"  // <windows.h> first: commctrl.h builds on it

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/button_bar.h"
#include "app/main_layout.h"
#include "app/run_bitmaps_win.h"  // kBitmapTransparent

namespace {

// The pictures of the bar, owned by it: the toolbar control does not free its image lists.
struct BarPictures {
    HIMAGELIST normal = nullptr;
    HIMAGELIST disabled = nullptr;
    BarPictures() = default;
    BarPictures(const BarPictures&) = delete;
    BarPictures& operator=(const BarPictures&) = delete;
    ~BarPictures() {
        if (normal) ImageList_Destroy(normal);
        if (disabled) ImageList_Destroy(disabled);
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

// The pictures in the order of kButtonBarBitmaps, so that a picture's index in the image lists
// is its position there. A picture that will not load leaves a blank one in its place, which
// keeps every later index right.
std::unique_ptr<BarPictures> LoadBarPictures(HINSTANCE instance) {
    auto pictures = std::make_unique<BarPictures>();
    for (HIMAGELIST* list : {&pictures->normal, &pictures->disabled})
        *list = ImageList_Create(kButtonBarPictureSize, kButtonBarPictureSize, ILC_COLOR24 | ILC_MASK,
                                 kButtonBarBitmapCount, 0);
    if (!pictures->normal || !pictures->disabled) return nullptr;
    for (int id : kButtonBarBitmaps) {
        HBITMAP picture = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
        if (!picture) picture = BlankPicture();
        HBITMAP washed = WashedOut(picture);
        ImageList_AddMasked(pictures->normal, picture, kBitmapTransparent);
        ImageList_AddMasked(pictures->disabled, washed ? washed : picture, kBitmapTransparent);
        if (washed) DeleteObject(washed);
        DeleteObject(picture);
    }
    return pictures;
}

LRESULT CALLBACK BarSubclass(HWND bar, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                             DWORD_PTR pictures) {
    if (message == WM_NCDESTROY) {
        delete reinterpret_cast<BarPictures*>(pictures);
        RemoveWindowSubclass(bar, BarSubclass, id);
    }
    return DefSubclassProc(bar, message, wparam, lparam);
}

void ShowPicture(HWND bar, int command, int bitmap) {
    int index = ButtonBarImageIndex(bitmap);
    if (index >= 0) SendMessageA(bar, TB_CHANGEBITMAP, command, MAKELPARAM(index, 0));
}

// The texts are set on the bar's own tooltip, so that no window has to answer for them.
void SetToolTips(HWND bar) {
    HWND tips = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    if (!tips) return;
    for (const ButtonBarEntry& e : kButtonBarEntries) {
        if (e.command == 0) continue;
        std::string text = ButtonToolTip(e.menuText);
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        ti.hwnd = bar;
        ti.uId = static_cast<UINT_PTR>(e.command);
        ti.lpszText = text.data();
        SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

}  // namespace

HWND CreateButtonBar(HWND parent, HINSTANCE instance, ButtonBarOrientation orientation, bool ideal_day) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    bool vertical = orientation == kButtonBarVertical;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                  CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (vertical) style |= CCS_VERT;
    RECT client = {};
    GetClientRect(parent, &client);
    int width = vertical ? kButtonBarWidth : client.right;
    int height = vertical ? client.bottom : kButtonBarHeight;
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonBarControlId)),
                               instance, nullptr);
    if (!bar) return nullptr;

    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kButtonBarPictureSize, kButtonBarPictureSize));
    if (std::unique_ptr<BarPictures> pictures = LoadBarPictures(instance)) {
        if (!SetWindowSubclass(bar, BarSubclass, 1, reinterpret_cast<DWORD_PTR>(pictures.get()))) {
            DestroyWindow(bar);  // a bar that could not free its pictures is not made
            return nullptr;
        }
        // From here the bar owns them: its subclass deletes them when the bar is destroyed.
        BarPictures* owned = pictures.release();
        SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(owned->normal));
        SendMessageA(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(owned->disabled));
    }

    TBBUTTON buttons[kButtonBarEntryCount] = {};
    for (int i = 0; i < kButtonBarEntryCount; ++i) {
        const ButtonBarEntry& e = kButtonBarEntries[i];
        TBBUTTON& b = buttons[i];
        // Down the left side every entry ends its own row.
        BYTE wrap = vertical ? TBSTATE_WRAP : 0;
        if (e.command == 0) {
            b.fsStyle = TBSTYLE_SEP;
            b.fsState = wrap;
            continue;
        }
        b.iBitmap = ButtonBarImageIndex(e.bitmap);
        b.idCommand = e.command;
        b.fsState = TBSTATE_ENABLED | wrap;
        b.fsStyle = e.command == kButtonBarIdealDayCommand ? TBSTYLE_CHECK : TBSTYLE_BUTTON;
        b.iString = -1;
    }
    SendMessageA(bar, TB_ADDBUTTONSA, kButtonBarEntryCount, reinterpret_cast<LPARAM>(buttons));
    SetToolTips(bar);
    SetButtonBarIdealDay(bar, ideal_day);
    RefreshButtonBar(bar, SelectionFacts{});
    return bar;
}

void SetButtonBarIdealDay(HWND bar, bool on) {
    if (!bar) return;
    const ButtonBarEntry* toggle = FindButtonBarEntry(kButtonBarIdealDayCommand);
    SendMessageA(bar, TB_CHECKBUTTON, kButtonBarIdealDayCommand, MAKELPARAM(on ? TRUE : FALSE, 0));
    ShowPicture(bar, kButtonBarIdealDayCommand, on ? toggle->onBitmap : toggle->bitmap);
}

void RefreshButtonBar(HWND bar, const SelectionFacts& facts) {
    if (!bar) return;
    bool ideal_day = SendMessageA(bar, TB_ISBUTTONCHECKED, kButtonBarIdealDayCommand, 0) != 0;
    for (const ButtonBarEntry& e : kButtonBarEntries) {
        if (e.command == 0) continue;
        ButtonLook look = ButtonLookFor(e, facts, ideal_day);
        SendMessageA(bar, TB_ENABLEBUTTON, e.command, MAKELPARAM(look.enabled ? TRUE : FALSE, 0));
        ShowPicture(bar, e.command, look.bitmap);
    }
}
