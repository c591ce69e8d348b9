// Sheet measures from font extents.
#include "views/sheet_measures.h"

#include <algorithm>

SheetMeasures MeasuresFromExtents(const SheetFontExtents& e) {
    SheetMeasures m;
    m.rowHeight = e.x.height;
    m.stripeWidth = e.x.width + 3;
    m.timeColumnWidth = std::max(kMinTimeColumnWidth, e.timeText.width);
    m.noteButtonWidth = e.noteText.width + 4;
    m.providerColumnWidth = e.defaultX.width;
    return m;
}
