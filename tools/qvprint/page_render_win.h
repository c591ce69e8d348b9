// Drawing report pages through GDI: on a printer, into enhanced metafiles, into bitmaps saved
// as PNG files. All three draw with DrawPage, which maps the page units onto the device.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/qvprint/page_items.h"

// Draws the page scaled from page units onto the device area of width x height at (0, 0).
void DrawPage(HDC dc, const Page& page, const PageMetrics& m, int device_width, int device_height);

// The page metrics of a printer's printable area.
PageMetrics PrinterMetrics(HDC printer);

// One document on the printer, a page each; false with a reason when the printer refused.
bool PrintPages(HDC printer, const std::string& document, const std::vector<Page>& pages, const PageMetrics& m,
                std::string* reason);

// Each page into its own file (PageFileName), as an enhanced metafile or a PNG picture by the
// file's extension; false with a reason when a file could not be written.
bool WritePageFiles(const std::vector<Page>& pages, const PageMetrics& m, const std::string& file, std::string* reason);
