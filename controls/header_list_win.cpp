// The header list box's two windows: painting, scrolling, mouse and keyboard; the lines and the
// rules that move the focus line are HeaderListModel's.
#include "controls/header_list_win.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/private_messages.h"
#include "suite/gdi_win.h"
#include "suite/messages.h"
#include "suite/window_services_win.h"

const char kHeaderListClass[] = "MDIListBox";
const char kHeaderListCaptionClass[] = "MDIListBoxHeader";

namespace {

constexpr COLORREF kPictureTransparent = RGB(192, 192, 192);
const char* const kPictureNames[] = {"REFR_BMP", "DIAG_BMP", "MED_CC1", "MED_CC2", "MED_CC3", "MED_CC4"};

COLORREF colour_table[kHeaderListColours] = {RGB(0, 0, 0)};

struct ListState {
    ListState(std::vector<int> widths, uint32_t style) : model(std::move(widths), style) {}
    HeaderListModel model;
    std::vector<int> aligns;
    std::vector<int> edges;  // ColumnEdges
    std::string title;
    HWND header = nullptr;
    HWND parent = nullptr;
    int id = 0;
    HFONT font = nullptr;
    int lineHeight = 16;
    int charWidth = 7;
    int captionHeight = 18;
    bool redrawOff = false;
    GdiObject<HBITMAP> pictures[6];
};

ListState* StateOf(HWND list) {
    if (!list) return nullptr;
    char name[32] = "";
    GetClassNameA(list, name, sizeof name);
    if (lstrcmpiA(name, kHeaderListClass) != 0) return nullptr;
    return reinterpret_cast<ListState*>(GetWindowLongPtrA(list, 0));
}

void TellParent(ListState* s, HWND list, int code) {
    if (code != kHlnNone) PostMessageA(s->parent, WM_COMMAND, MAKEWPARAM(s->id, code), reinterpret_cast<LPARAM>(list));
}

void LineChanged(ListState* s) { PostMessageA(s->parent, kMsgListCurrentLine, 0, 0); }

void UpdateScrollBar(HWND list, ListState* s) {
    SetScrollRange(list, SB_VERT, 0, s->model.ScrollMax(), FALSE);
    SetScrollPos(list, SB_VERT, s->model.Top(), !s->redrawOff);
}

void Repaint(HWND list, ListState* s) {
    UpdateScrollBar(list, s);
    if (!s->redrawOff) InvalidateRect(list, nullptr, FALSE);
}

void Measure(ListState* s, HFONT font) {
    HDC dc = GetDC(nullptr);
    Selected use(dc, font ? font : GetStockObject(ANSI_VAR_FONT));
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(nullptr, dc);
    s->lineHeight = tm.tmHeight + ((s->model.Style() & kHlsExtraPixel) ? 1 : 0);
    s->charWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 7;
    s->captionHeight = tm.tmHeight + 2;
}

UINT AlignFlags(int align) {
    switch (align) {
    case kAlignRight: return DT_RIGHT;
    case kAlignCentre: return DT_CENTER;
    default: return DT_LEFT;
    }
}

void PaintLine(HDC dc, ListState* s, int index, const RECT& row, bool focused, bool above_continues) {
    const HeaderLine& line = s->model.Line(index);
    COLORREF back = GetSysColor(COLOR_WINDOW), text = colour_table[0];
    const int colour = line.colourIndex <= 20 ? line.colourIndex : 0;
    if (line.selected) {
        back = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (colour >= 1 && colour <= 10) {
        back = colour_table[colour];
    } else if (colour >= 11) {
        text = colour_table[colour];
    }
    Brush fill(CreateSolidBrush(back));
    FillRect(dc, &row, fill);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    const int columns = static_cast<int>(s->model.Widths().size());
    const int right_end = s->edges.back();
    if (line.groupMark == kContinuationLine) {
        RECT r = {row.left + (columns > 1 ? s->edges[1] : 0) + 2, row.top, row.left + right_end, row.bottom};
        DrawTextA(dc, line.text.c_str(), static_cast<int>(line.text.size()), &r,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
        Pen dark(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        Pen white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        const int x2 = columns > 1 ? s->edges[1] : 0;
        {
            Selected p(dc, dark);
            MoveToEx(dc, row.left + x2, row.top, nullptr);
            LineTo(dc, row.left + x2, row.bottom);
        }
        Selected p(dc, white);
        MoveToEx(dc, above_continues ? row.left : row.left + x2, row.top, nullptr);
        LineTo(dc, row.right, row.top);
    } else {
        const std::vector<std::string> cells = s->model.Cells(line.text);
        for (int c = 0; c < columns && c < static_cast<int>(cells.size()); ++c) {
            RECT cell = {row.left + s->edges[static_cast<size_t>(c)], row.top,
                         row.left + s->edges[static_cast<size_t>(c) + 1] - 1, row.bottom};
            const int align = c < static_cast<int>(s->aligns.size()) ? s->aligns[static_cast<size_t>(c)] : kAlignLeft;
            std::string shown = cells[static_cast<size_t>(c)];
            if (align == kAlignLeft) {
                const CellMarkers markers = SplitCellMarkers(shown);
                shown = markers.text;
                int x = cell.right;
                if (markers.rightMark) {
                    RECT mark = cell;
                    DrawTextA(dc, "\xbb", 1, &mark, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
                    SIZE size = {};
                    GetTextExtentPoint32A(dc, "\xbb", 1, &size);
                    x -= size.cx;
                }
                for (auto it = markers.pictures.rbegin(); it != markers.pictures.rend(); ++it) {
                    x -= kMarkerPictureWidth;
                    if (HBITMAP picture = s->pictures[static_cast<int>(*it)])
                        DrawTransparentBitmap(dc, picture, x, row.top, kPictureTransparent);
                }
            }
            RECT r = cell;
            if (align == kAlignRight) r.right -= 3;
            DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &r,
                      AlignFlags(align) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    }
    if (focused) {
        Brush frame(CreateSolidBrush(RGB(64, 64, 64)));
        FrameRect(dc, &row, frame);
    }
}

void PaintList(HWND list, ListState* s) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(list, &ps);
    RECT client;
    GetClientRect(list, &client);
    MemoryCanvas canvas(screen, client.right, client.bottom);
    HDC dc = canvas.Ok() ? canvas.Dc() : screen;
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Selected font(dc, s->font);
    const bool has_focus = GetFocus() == list;
    const HeaderListModel& m = s->model;
    for (int i = m.Top(); i < m.Count() && i < m.Top() + m.Visible(); ++i) {
        const int y = (i - m.Top()) * s->lineHeight;
        RECT row = {0, y, client.right, y + s->lineHeight};
        const bool above = i > 0 && m.Line(i - 1).groupMark == kContinuationLine;
        PaintLine(dc, s, i, row, i == m.Current() && (has_focus || (m.Style() & kHlsKeepSelection)), above);
    }
    if (dc != screen) BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    EndPaint(list, &ps);
}

void PaintCaption(HWND header) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(header, &ps);
    HWND list = reinterpret_cast<HWND>(GetWindowLongPtrA(header, 0));
    if (ListState* s = StateOf(list)) {
        Selected font(dc, s->font);
        SetBkMode(dc, TRANSPARENT);
        RECT client;
        GetClientRect(header, &client);
        Pen dark(CreatePen(PS_SOLID, 1, RGB(64, 64, 64)));
        Pen white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        size_t from = 0;
        const std::vector<int>& widths = s->model.Widths();
        for (size_t c = 0; c < widths.size(); ++c) {
            const size_t w = static_cast<size_t>(widths[c]);
            std::string title = from < s->title.size() ? s->title.substr(from, w) : "";
            from += w;
            while (!title.empty() && title.back() == ' ') title.pop_back();
            RECT cell = {s->edges[c], 0, s->edges[c + 1] - 1, client.bottom};
            DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &cell,
                      DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            {
                Selected p(dc, white);
                MoveToEx(dc, cell.left, client.bottom, nullptr);
                LineTo(dc, cell.left, 0);
                LineTo(dc, cell.right, 0);
            }
            Selected p(dc, dark);
            MoveToEx(dc, cell.right, 0, nullptr);
            LineTo(dc, cell.right, client.bottom);
        }
    }
    EndPaint(header, &ps);
}

ListKey KeyOf(WPARAM vk) {
    switch (vk) {
    case VK_UP: return ListKey::kUp;
    case VK_DOWN: return ListKey::kDown;
    case VK_HOME: return ListKey::kHome;
    case VK_END: return ListKey::kEnd;
    case VK_SPACE: return ListKey::kSpace;
    case VK_RETURN: return ListKey::kEnter;
    case VK_TAB: return ListKey::kTab;
    case VK_ESCAPE: return ListKey::kEscape;
    default: return ListKey::kOther;
    }
}

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(list, 0, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return DefWindowProcA(list, message, wparam, lparam);
    }
    ListState* s = reinterpret_cast<ListState*>(GetWindowLongPtrA(list, 0));
    if (!s) return DefWindowProcA(list, message, wparam, lparam);
    switch (message) {
    case WM_PAINT:
        PaintList(list, s);
        LineChanged(s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
        if (GetFocus() != list) SetFocus(list);
        const int row = static_cast<short>(HIWORD(lparam)) / std::max(1, s->lineHeight);
        const bool toggle = (wparam & MK_CONTROL) || (message != WM_RBUTTONDOWN && (wparam & MK_RBUTTON));
        const int code = s->model.OnClick(row, (wparam & MK_SHIFT) != 0, toggle, message == WM_LBUTTONDBLCLK);
        Repaint(list, s);
        TellParent(s, list, code);
        LineChanged(s);
        return 0;
    }
    case WM_KEYDOWN: {
        const int code = s->model.OnKey(KeyOf(wparam), Down(VK_SHIFT), Down(VK_CONTROL));
        Repaint(list, s);
        TellParent(s, list, code);
        LineChanged(s);
        return 0;
    }
    case WM_CHAR:
        return 0;  // keys were handled on their press
    case WM_VSCROLL: {
        HeaderListModel& m = s->model;
        switch (LOWORD(wparam)) {
        case SB_LINEUP: m.ScrollBy(-1); break;
        case SB_LINEDOWN: m.ScrollBy(1); break;
        case SB_PAGEUP: m.ScrollBy(-(m.Visible() - 1)); break;
        case SB_PAGEDOWN: m.ScrollBy(m.Visible() - 1); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: m.ScrollTo(static_cast<short>(HIWORD(wparam))); break;
        case SB_TOP: m.ScrollTo(0); break;
        case SB_BOTTOM: m.ScrollTo(m.Count()); break;
        default: break;
        }
        Repaint(list, s);
        LineChanged(s);
        return 0;
    }
    case WM_MOUSEWHEEL:
        s->model.ScrollBy(static_cast<short>(HIWORD(wparam)) > 0 ? -3 : 3);
        Repaint(list, s);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(list, nullptr, FALSE);
        TellParent(s, list, kHlnSetFocus);
        LineChanged(s);
        return 0;
    case WM_KILLFOCUS:
        s->model.OnLoseFocus();
        InvalidateRect(list, nullptr, FALSE);
        TellParent(s, list, kHlnKillFocus);
        LineChanged(s);
        return 0;
    case WM_SETREDRAW:
        s->redrawOff = wparam == 0;
        if (!s->redrawOff) Repaint(list, s);
        LineChanged(s);
        return 0;
    case LB_GETCOUNT:
        return s->model.Count();
    case WM_SHOWWINDOW:
        if (s->header) ShowWindow(s->header, wparam ? SW_SHOW : SW_HIDE);
        break;
    case WM_NCDESTROY: {
        if (s->header && IsWindow(s->header)) DestroyWindow(s->header);
        SetWindowLongPtrA(list, 0, 0);
        delete s;
        return DefWindowProcA(list, message, wparam, lparam);
    }
    default:
        break;
    }
    return DefWindowProcA(list, message, wparam, lparam);
}

LRESULT CALLBACK CaptionProc(HWND header, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        PaintCaption(header);
        return 0;
    case WM_SETFOCUS:
        // The caption bar never keeps the focus.
        SetFocus(GetParent(header));
        return 0;
    default:
        return DefWindowProcA(header, message, wparam, lparam);
    }
}

bool Reported(bool ok, ListState* s) {
    if (!ok && s->model.LastError() != kHleNone) QVN_Message(kMsgGroupSuite, s->model.LastError());
    return ok;
}

}  // namespace

bool RegisterHeaderListClasses(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpfnWndProc = ListProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kHeaderListClass;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    wc.lpfnWndProc = CaptionProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kHeaderListCaptionClass;
    return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int HeaderListCaptionHeight(HFONT font) {
    ListState probe({}, 0);
    Measure(&probe, font);
    return probe.captionHeight;
}

HWND CreateHeaderList(HWND parent, HINSTANCE instance, int control_id, int x, int y, int width, int height,
                      int column_count, const int* widths, const int* aligns, const char* title, uint32_t style,
                      HFONT font) {
    const int columns = std::clamp(column_count, 1, kHeaderListMaxColumns);
    std::unique_ptr<ListState> s(new (std::nothrow) ListState(std::vector<int>(widths, widths + columns), style));
    if (!s) {
        QVN_Message(kMsgGroupSuite, 3040);
        return nullptr;
    }
    s->aligns.assign(aligns, aligns + columns);
    s->title = title ? title : "";
    s->parent = parent;
    s->id = control_id;
    s->font = font;
    Measure(s.get(), font);
    s->edges = ColumnEdges(s->model.Widths(), s->charWidth);
    const int caption = title ? s->captionHeight : -1;
    const int visible = VisibleRowsFor(height, caption, s->lineHeight);
    if (visible == 0) return nullptr;
    s->model.SetVisibleCount(visible);
    for (int i = 0; i < 6; ++i) s->pictures[i].Reset(LoadBitmapA(instance, kPictureNames[i]));
    const DWORD shown = (style & kHlsHidden) ? 0 : WS_VISIBLE;
    if (title) {
        s->header = CreateWindowExA(0, kHeaderListCaptionClass, "", WS_CHILD | WS_BORDER | shown, x, y, width,
                                    s->captionHeight + 2, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHeaderListCaptionId)), instance, nullptr);
        if (!s->header) {
            QVN_Message(kMsgGroupSuite, 3040);
            return nullptr;
        }
    }
    const int list_y = title ? y + s->captionHeight + 1 : y;
    ListState* state = s.get();
    HWND list = CreateWindowExA(0, kHeaderListClass, "", WS_CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | shown, x,
                                list_y, width, visible * s->lineHeight + 2, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), instance, state);
    if (!list) {
        if (state->header) DestroyWindow(state->header);
        QVN_Message(kMsgGroupSuite, 3040);
        return nullptr;
    }
    s.release();  // the window owns it now
    if (state->header) SetWindowLongPtrA(state->header, 0, reinterpret_cast<LONG_PTR>(list));
    UpdateScrollBar(list, state);
    return list;
}

int HeaderListInsert(HWND list, const char* text, uint32_t data1, uint32_t data2, int32_t sort_key,
                     uint16_t group_mark, uint8_t colour_index) {
    ListState* s = StateOf(list);
    if (!s) return -1;
    int index = -1;
    try {
        index = s->model.Insert(text ? text : "", data1, data2, sort_key, group_mark, colour_index);
    } catch (const std::bad_alloc&) {
        QVN_Message(kMsgGroupSuite, 3040);
        return -1;
    }
    UpdateScrollBar(list, s);
    if (!s->redrawOff && index >= s->model.Top() && index < s->model.Top() + s->model.Visible())
        InvalidateRect(list, nullptr, FALSE);
    return index;
}

bool HeaderListDelete(HWND list, int index) {
    ListState* s = StateOf(list);
    if (!s) return false;
    const bool ok = Reported(s->model.Delete(index), s);
    if (ok) Repaint(list, s);
    return ok;
}

bool HeaderListDeleteGroup(HWND list, int index) {
    ListState* s = StateOf(list);
    if (!s) return false;
    const bool ok = Reported(s->model.DeleteGroup(index), s);
    if (ok) Repaint(list, s);
    return ok;
}

void HeaderListClear(HWND list) {
    if (ListState* s = StateOf(list)) {
        s->model.Clear();
        Repaint(list, s);
    }
}

int HeaderListGetLine(HWND list, int index, HeaderLine* line, bool only_selected) {
    const ListState* s = StateOf(list);
    return s ? s->model.GetLine(index, line, only_selected) : -1;
}

bool HeaderListIsSelected(HWND list, int index) {
    const ListState* s = StateOf(list);
    return s && s->model.IsSelected(index);
}

bool HeaderListSetSelection(HWND list, int index, int operation, bool extend) {
    ListState* s = StateOf(list);
    if (!s) return false;
    const bool ok = Reported(s->model.SetSelection(index, operation, extend), s);
    Repaint(list, s);
    return ok;
}

void HeaderListMove(HWND list, int x, int y, int width, int height, bool repaint) {
    ListState* s = StateOf(list);
    if (!s) return;
    const int caption = s->header ? s->captionHeight : -1;
    const int visible = std::max(1, VisibleRowsFor(height, caption, s->lineHeight));
    if (s->header) MoveWindow(s->header, x, y, width, s->captionHeight + 2, repaint);
    const int list_y = s->header ? y + s->captionHeight + 1 : y;
    MoveWindow(list, x, list_y, width, visible * s->lineHeight + 2, repaint);
    s->model.SetVisibleCount(visible);
    UpdateScrollBar(list, s);
}

void HeaderListSetColours(const COLORREF colours[20]) {
    for (int i = 0; i < 20; ++i) colour_table[i + 1] = colours[i];
}

bool HeaderListCopy(HWND list, const char* title) {
    const ListState* s = StateOf(list);
    if (!s) return false;
    const std::string text = s->model.ClipboardText(title ? title : "", s->title);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) {
        QVN_Message(kMsgGroupSuite, 3040);
        return false;
    }
    char* bytes = static_cast<char*>(GlobalLock(memory));
    if (!bytes) {
        GlobalFree(memory);
        QVN_Message(kMsgGroupSuite, 3183);
        return false;
    }
    std::copy(text.begin(), text.end(), bytes);
    bytes[text.size()] = '\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(list)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
    CloseClipboard();
    return ok;
}

const HeaderListModel* HeaderListLines(HWND list) {
    const ListState* s = StateOf(list);
    return s ? &s->model : nullptr;
}
