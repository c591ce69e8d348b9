// Window of the flip tab strip: lays the tabs out with flip_tab_strip's rules, paints them with
// captions turned to run up the tab, and turns clicks into the kMsgFlipTab message.
#include "views/flip_tab_strip_win.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "suite/dates.h"
#include "views/flip_tab_strip.h"

namespace {

const char kStripClass[] = "QvnFlipTabs";

// A GDI object deleted with its owner.
struct GdiFont {
    HFONT handle = nullptr;
    GdiFont() = default;
    ~GdiFont() { Reset(nullptr); }
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;
    void Reset(HFONT font) {
        if (handle) DeleteObject(handle);
        handle = font;
    }
};

struct Strip {
    FlipTabSet tabs;
    FlipTabMode mode = kFlipDay;
    int32_t displayed = 0;
    int active = kFlipEmptyPosition;
    GdiFont turned;  // the flip tab font, running bottom to top
    std::vector<FlipTabPlace> places;
};

Strip* StripOf(HWND window) { return reinterpret_cast<Strip*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

std::string Caption(const FlipTab& tab) { return std::string(tab.description, strnlen(tab.description, sizeof tab.description)); }

void Layout(HWND window, Strip& s) {
    const std::vector<int> visible = VisibleFlipTabs(s.tabs, s.mode);
    std::vector<int> lengths;
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, s.turned.handle);
    for (int tab : visible) {
        const std::string caption = Caption(s.tabs.tabs[s.mode][tab]);
        SIZE size = {};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        lengths.push_back(size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    s.places = LayOutFlipTabs(visible, lengths);
}

void Refresh(HWND window, Strip& s) {
    s.active = kFlipEmptyPosition;
    Layout(window, s);
    ShowWindow(window, VisibleFlipTabs(s.tabs, s.mode).empty() ? SW_HIDE : SW_SHOWNA);
    InvalidateRect(window, nullptr, TRUE);
}

// One tab: its outer (left) corners cut by the chamfer; the active one joins the page at its
// right and is drawn in the window colour.
void PaintTab(HDC dc, const Strip& s, const FlipTabPlace& p, int page_left) {
    const bool active = p.position == s.active;
    const int c = kFlipTabChamfer;
    const int right = active ? page_left + 1 : kFlipTabThickness;
    POINT outline[] = {{right, p.top}, {c, p.top}, {0, p.top + c}, {0, p.bottom - 1 - c}, {c, p.bottom - 1}, {right, p.bottom - 1}};
    HBRUSH fill = GetSysColorBrush(active ? COLOR_WINDOW : COLOR_BTNFACE);
    HGDIOBJ old_brush = SelectObject(dc, fill);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, outline, 6);
    if (active) {  // no border between the active tab and its page
        HPEN join = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOW));
        SelectObject(dc, join);
        MoveToEx(dc, page_left, p.top + 1, nullptr);
        LineTo(dc, page_left, p.bottom - 1);
        SelectObject(dc, GetStockObject(BLACK_PEN));
        DeleteObject(join);
    }
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    if (p.position == kFlipEmptyPosition) return;

    const FlipTab& tab = s.tabs.tabs[s.mode][p.position];
    const std::string caption = Caption(tab);
    SIZE size = {};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SetTextColor(dc, static_cast<COLORREF>(tab.textColor));
    // Turned text starts at its bottom left: centre it along the tab and across it.
    const int x = (kFlipTabThickness - size.cy) / 2;
    const int y = (p.top + p.bottom + size.cx) / 2;
    TextOutA(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
}

void PaintTo(HDC dc, HWND window, Strip& s) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int page_left = kFlipTabThickness - 1;
    RECT page = {page_left, 0, client.right, client.bottom};
    FillRect(dc, &page, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, page_left, 0, nullptr);
    LineTo(dc, page_left, client.bottom);
    SelectObject(dc, old_pen);

    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, s.turned.handle);
    for (const FlipTabPlace& p : s.places)
        if (p.position != s.active) PaintTab(dc, s, p, page_left);
    for (const FlipTabPlace& p : s.places)  // the active tab last, over its neighbours
        if (p.position == s.active) PaintTab(dc, s, p, page_left);
    SelectObject(dc, old_font);
}

// A click on a position: an already active tab or the empty position does nothing, as a tab
// control does not report a click on its selected tab; a tab whose click asks for nothing is
// left alone.
bool Click(HWND window, Strip& s, int position) {
    if (position < 0 || position >= kFlipUserTabs || position == s.active) return false;
    const FlipTab& tab = s.tabs.tabs[s.mode][position];
    const FlipTabClick click = ClickOnFlipTab(tab, s.mode, QVN_SysDate(), s.displayed);
    if (click.date == 0) return false;
    s.active = position;
    InvalidateRect(window, nullptr, TRUE);
    PostMessageA(GetParent(window), kMsgFlipTab, click.resetAfter ? 1 : 0, static_cast<LPARAM>(click.date));
    return true;
}

LRESULT CALLBACK StripProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Strip* s = StripOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* holder = static_cast<std::unique_ptr<Strip>*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(holder->release()));
        break;
    }
    case WM_PAINT:
        if (s) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            PaintTo(dc, window, *s);
            EndPaint(window, &ps);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (s) {
            PaintTo(reinterpret_cast<HDC>(wparam), window, *s);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;  // the paint fills everything
    case WM_LBUTTONDOWN:
        if (s) Click(window, *s, FlipTabAtPoint(s->places, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))));
        return 0;
    case WM_NCDESTROY:
        delete s;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterStripClass(HINSTANCE instance) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, kStripClass, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = StripProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kStripClass;
    return RegisterClassExA(&wc) != 0;
}

// The flip tab font turned a quarter to the left, so that captions run up the tabs.
HFONT TurnedFont(HFONT font) {
    LOGFONTA lf = {};
    if (!font || !GetObjectA(font, sizeof lf, &lf)) GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = 900;
    return CreateFontIndirectA(&lf);
}

}  // namespace

HWND CreateFlipTabStrip(HWND parent, HINSTANCE instance, HFONT font, FlipTabMode mode, int32_t displayed_date) {
    if (!RegisterStripClass(instance)) return nullptr;
    auto s = std::make_unique<Strip>();
    s->tabs = LoadFlipTabs();
    s->mode = mode;
    s->displayed = displayed_date;
    s->turned.Reset(TurnedFont(font));
    Strip* strip = s.get();
    HWND window = CreateWindowExA(0, kStripClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr, instance, &s);
    if (!window) return nullptr;
    Refresh(window, *strip);
    return window;
}

void SetFlipTabMode(HWND strip, FlipTabMode mode, int32_t displayed_date) {
    Strip* s = StripOf(strip);
    if (!s || mode < 0 || mode >= kFlipModes) return;
    s->mode = mode;
    s->displayed = displayed_date;
    Refresh(strip, *s);
}

void SetFlipTabDisplayedDate(HWND strip, int32_t displayed_date) {
    if (Strip* s = StripOf(strip)) s->displayed = displayed_date;
}

void ResetFlipTabStrip(HWND strip) {
    Strip* s = StripOf(strip);
    if (!s || s->active == kFlipEmptyPosition) return;
    s->active = kFlipEmptyPosition;
    InvalidateRect(strip, nullptr, TRUE);
}

void ReloadFlipTabs(HWND strip) {
    Strip* s = StripOf(strip);
    if (!s) return;
    s->tabs = LoadFlipTabs();
    Refresh(strip, *s);
}

bool ActivateVisibleFlipTab(HWND strip, int k) {
    Strip* s = StripOf(strip);
    return s && Click(strip, *s, VisibleFlipTabAt(s->tabs, s->mode, k));
}

int ActiveFlipTabPosition(HWND strip) {
    Strip* s = StripOf(strip);
    return s ? s->active : -1;
}

bool FlipTabRect(HWND strip, int tab, RECT* rect) {
    Strip* s = StripOf(strip);
    if (!s || tab < 0 || tab >= kFlipUserTabs) return false;
    for (const FlipTabPlace& p : s->places) {
        if (p.position != tab) continue;
        *rect = {0, p.top, kFlipTabThickness, p.bottom};
        return true;
    }
    return false;
}
