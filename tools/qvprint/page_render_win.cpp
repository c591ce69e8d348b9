// GDI output of report pages.
#include "tools/qvprint/page_render_win.h"

#include <algorithm>
#include <fstream>

#include "suite/gdi_win.h"
#include "tools/qvprint/png_file.h"
#include "tools/qvprint/reports.h"

namespace {

constexpr int kPictureDotsPerInch = 150;

GdiObject<HFONT> MakeFont(int height, bool bold) {
    return GdiObject<HFONT>(CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial"));
}

void DrawTextItem(HDC dc, const DrawItem& item, int font_height) {
    RECT r{item.rect.left, item.rect.top, item.rect.right, item.rect.bottom};
    const int y = r.top + std::max(0, static_cast<int>(r.bottom - r.top - font_height) / 2) - font_height / 8;
    SetTextAlign(dc, (item.alignRight ? TA_RIGHT : TA_LEFT) | TA_TOP | TA_NOUPDATECP);
    ExtTextOutA(dc, item.alignRight ? r.right : r.left, y, ETO_CLIPPED, &r, item.text.data(),
                static_cast<UINT>(item.text.size()), nullptr);
}

}  // namespace

void DrawPage(HDC dc, const Page& page, const PageMetrics& m, int device_width, int device_height) {
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, m.width, m.height, nullptr);
    SetViewportExtEx(dc, device_width, device_height, nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    const int text_height = m.lineHeight * 3 / 4;
    const int title_height = m.lineHeight + 2;
    GdiObject<HFONT> normal = MakeFont(text_height, false), bold = MakeFont(text_height, true),
                     title = MakeFont(title_height, true);
    Pen pen(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
    Selected selected_pen(dc, pen);
    for (const DrawItem& item : page.items) {
        RECT r{item.rect.left, item.rect.top, item.rect.right, item.rect.bottom};
        switch (item.kind) {
        case DrawKind::kFill: {
            Brush brush(CreateSolidBrush(item.colour));
            FillRect(dc, &r, brush);
            break;
        }
        case DrawKind::kFrame: {
            Selected hollow(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, r.left, r.top, r.right + 1, r.bottom + 1);
            break;
        }
        case DrawKind::kLine:
            MoveToEx(dc, r.left, r.top, nullptr);
            LineTo(dc, r.right, r.bottom);
            break;
        case DrawKind::kText: {
            HFONT font = item.style == TextStyle::kTitle ? title : item.style == TextStyle::kBold ? bold : normal;
            Selected selected_font(dc, font);
            DrawTextItem(dc, item, item.style == TextStyle::kTitle ? title_height : text_height);
            break;
        }
        }
    }
    RestoreDC(dc, saved);
}

PageMetrics PrinterMetrics(HDC printer) {
    PageMetrics m;
    m.width = MulDiv(GetDeviceCaps(printer, HORZRES), kPageUnitsPerInch, GetDeviceCaps(printer, LOGPIXELSX));
    m.height = MulDiv(GetDeviceCaps(printer, VERTRES), kPageUnitsPerInch, GetDeviceCaps(printer, LOGPIXELSY));
    m.margin = 25;  // the printable area already keeps the paper's edge free
    return m;
}

bool PrintPages(HDC printer, const std::string& document, const std::vector<Page>& pages, const PageMetrics& m,
                std::string* reason) {
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = document.c_str();
    if (StartDocA(printer, &doc) <= 0) {
        *reason = "The printer did not take the document (error " + std::to_string(GetLastError()) + ").";
        return false;
    }
    const int width = GetDeviceCaps(printer, HORZRES), height = GetDeviceCaps(printer, VERTRES);
    for (const Page& page : pages) {
        if (StartPage(printer) <= 0) {
            AbortDoc(printer);
            *reason = "The printer did not take a page (error " + std::to_string(GetLastError()) + ").";
            return false;
        }
        DrawPage(printer, page, m, width, height);
        EndPage(printer);
    }
    EndDoc(printer);
    return true;
}

bool WritePageFiles(const std::vector<Page>& pages, const PageMetrics& m, const std::string& file, std::string* reason) {
    const std::string kind = OutputKind(file);
    if (kind.empty()) {
        *reason = "The file name must end in .png or .emf: " + file;
        return false;
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::string name = PageFileName(file, static_cast<int>(i) + 1);
        if (kind == "emf") {
            // The frame in hundredths of a millimetre; the reference device is the screen.
            const RECT frame{0, 0, MulDiv(m.width, 2540, kPageUnitsPerInch), MulDiv(m.height, 2540, kPageUnitsPerInch)};
            HDC emf = CreateEnhMetaFileA(nullptr, name.c_str(), &frame, "qvprint\0page\0");
            if (!emf) {
                *reason = "The file " + name + " could not be made.";
                return false;
            }
            const int width = MulDiv(frame.right, GetDeviceCaps(emf, HORZRES), GetDeviceCaps(emf, HORZSIZE) * 100);
            const int height = MulDiv(frame.bottom, GetDeviceCaps(emf, VERTRES), GetDeviceCaps(emf, VERTSIZE) * 100);
            DrawPage(emf, pages[i], m, width, height);
            HENHMETAFILE done = CloseEnhMetaFile(emf);
            if (!done) {
                *reason = "The file " + name + " could not be written.";
                return false;
            }
            DeleteEnhMetaFile(done);
            continue;
        }
        const int width = MulDiv(m.width, kPictureDotsPerInch, kPageUnitsPerInch);
        const int height = MulDiv(m.height, kPictureDotsPerInch, kPageUnitsPerInch);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        HDC memory = CreateCompatibleDC(nullptr);
        if (!bitmap || !memory) {
            if (memory) DeleteDC(memory);
            *reason = "No memory for the picture of page " + std::to_string(i + 1) + ".";
            return false;
        }
        {
            Selected selected(memory, bitmap);
            RECT all{0, 0, width, height};
            FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawPage(memory, pages[i], m, width, height);
            GdiFlush();
        }
        DeleteDC(memory);
        const std::string png = EncodePng(width, height, static_cast<const uint8_t*>(bits), width * 4);
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(png.data(), static_cast<std::streamsize>(png.size()));
        if (!out.flush()) {
            *reason = "The file " + name + " could not be written.";
            return false;
        }
    }
    return true;
}
