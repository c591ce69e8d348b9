// The date and view buttons as Win32 push buttons showing their pictures. Where they go and
// what they show comes from date_controls_layout; this file makes, moves and presses them.
#include "app/date_controls_win.h"  // <windows.h> first: commctrl.h builds on it

#include <commctrl.h>

#include "app/run_bitmaps_win.h"          // kBitmapTransparent
#include "suite/window_services_win.h"    // QVN_SetToolTip, DrawTransparentBitmap

namespace {

struct ButtonPicture;

// The buttons of the main window and their pictures (owned by the buttons); a slot is cleared
// when its button is destroyed.
struct DateControls {
    HWND buttons[kDateControlCount] = {};
    ButtonPicture* pictures[kDateControlCount] = {};
};
DateControls date_controls;

// A button's pictures, owned by the button through its subclass and deleted with it.
struct ButtonPicture {
    HBITMAP face = nullptr;      // shown while the button is enabled
    HBITMAP disabled = nullptr;  // shown while it is disabled
    int slot = -1;
    ButtonPicture() = default;
    ButtonPicture(const ButtonPicture&) = delete;
    ButtonPicture& operator=(const ButtonPicture&) = delete;
    ~ButtonPicture() {
        if (face) DeleteObject(face);
        if (disabled) DeleteObject(disabled);
    }
};

constexpr UINT_PTR kSubclassId = 1;

// The picture drawn over a background, its magenta pixels left in that colour: a button shows a
// plain bitmap as it is, without a mask.
HBITMAP OnBackground(HBITMAP picture, HBRUSH background) {
    BITMAP info = {};
    if (!GetObjectA(picture, sizeof info, &info)) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP out = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    if (dc && out) {
        HGDIOBJ old = SelectObject(dc, out);
        RECT all = {0, 0, info.bmWidth, info.bmHeight};
        FillRect(dc, &all, background);
        DrawTransparentBitmap(dc, picture, 0, 0, kBitmapTransparent);
        SelectObject(dc, old);
    }
    if (dc) DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

// Enabled, the picture lies on the button face. Disabled, the button draws its picture embossed
// in grey, taking every pixel that is not white as ink: on a white ground only the shapes of
// the picture show, where the face colour would turn the whole picture into one grey block.
void LoadPictures(ButtonPicture* p, HINSTANCE instance, const char* name) {
    HBITMAP picture = LoadBitmapA(instance, name);
    if (!picture) return;
    p->face = OnBackground(picture, GetSysColorBrush(COLOR_BTNFACE));
    p->disabled = OnBackground(picture, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DeleteObject(picture);
}

LRESULT CALLBACK ButtonSubclass(HWND button, UINT message, WPARAM wparam, LPARAM lparam,
                                UINT_PTR id, DWORD_PTR data) {
    auto* picture = reinterpret_cast<ButtonPicture*>(data);
    switch (message) {
    case WM_LBUTTONUP: {
        // The click has been reported by now; the sheet keeps the keyboard, not the button.
        LRESULT result = DefSubclassProc(button, message, wparam, lparam);
        if (GetFocus() == button) SetFocus(GetParent(button));
        return result;
    }
    case WM_NCDESTROY:
        if (picture->slot >= 0 && date_controls.buttons[picture->slot] == button) {
            date_controls.buttons[picture->slot] = nullptr;
            date_controls.pictures[picture->slot] = nullptr;
        }
        RemoveWindowSubclass(button, ButtonSubclass, id);
        delete picture;
        break;
    }
    return DefSubclassProc(button, message, wparam, lparam);
}

void DestroyButtons() {
    for (HWND& b : date_controls.buttons) {
        if (b && IsWindow(b)) DestroyWindow(b);  // its subclass clears the slot
        b = nullptr;
    }
}

}  // namespace

bool CreateDateControls(HWND main_window, HINSTANCE instance) {
    DestroyButtons();
    bool all = true;
    for (int i = 0; i < kDateControlCount; ++i) {
        const DateControlEntry& e = kDateControls[i];
        // The view buttons are push-like check boxes, not automatic ones: the main window
        // presses the current view's button itself, through ShowViewMode.
        DWORD kind = i >= kFirstViewControl ? (BS_CHECKBOX | BS_PUSHLIKE) : BS_PUSHBUTTON;
        HWND button = CreateWindowExA(0, "BUTTON", e.toolTip,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_BITMAP | kind,
                                      0, 0, 0, 0, main_window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(e.command)),
                                      instance, nullptr);
        if (!button) {
            all = false;
            continue;
        }
        auto* picture = new ButtonPicture;
        picture->slot = i;
        LoadPictures(picture, instance, e.bitmap);
        if (!SetWindowSubclass(button, ButtonSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(picture))) {
            delete picture;  // a button that could not free its picture is not made
            DestroyWindow(button);
            all = false;
            continue;
        }
        date_controls.buttons[i] = button;
        date_controls.pictures[i] = picture;
        if (picture->face && picture->disabled)
            SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture->face));
        else
            all = false;
        all &= QVN_SetToolTip(main_window, button, e.toolTip) == 1;
    }
    return all;
}

void PlaceDateControls(const MainLayout& layout) {
    DateControlsLayout places = LayOutDateControls(layout);
    for (int i = 0; i < kDateControlCount; ++i) {
        HWND button = date_controls.buttons[i];
        if (!button) continue;
        LayoutRect r = places.ForCommand(kDateControls[i].command);
        // On top of their siblings: the view buttons share the strip with the button bar.
        SetWindowPos(button, HWND_TOP, r.x, r.y, r.width, r.height, SWP_NOACTIVATE);
    }
}

void ShowViewMode(int mode) {
    int pressed = ViewButtonCommand(mode);
    for (int i = kFirstViewControl; i < kDateControlCount; ++i) {
        HWND button = date_controls.buttons[i];
        if (!button) continue;
        bool on = kDateControls[i].command == pressed;
        SendMessageA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void EnableDateControl(int command, bool enabled) {
    int i = DateControlIndex(command);
    HWND button = i < 0 ? nullptr : date_controls.buttons[i];
    if (!button) return;
    const ButtonPicture* picture = date_controls.pictures[i];
    HBITMAP shown = enabled ? picture->face : picture->disabled;
    if (shown) SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
    EnableWindow(button, enabled ? TRUE : FALSE);
}

HWND DateControlWindow(int command) {
    int i = DateControlIndex(command);
    return i < 0 ? nullptr : date_controls.buttons[i];
}
