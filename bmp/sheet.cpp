#include "sheet.h"

RgbPixels EmptySheet(const SheetLayout& layout) {
    RgbPixels sheet;
    sheet.w = static_cast<int>(layout.Width());
    sheet.h = static_cast<int>(layout.Height());
    sheet.argb.assign(static_cast<size_t>(sheet.w) * sheet.h, 0);
    return sheet;
}

void PlaceCell(RgbPixels& sheet, const SheetLayout& layout, int cell, const RgbPixels& frame) {
    int x0 = layout.X(cell), y0 = layout.Y(cell);
    for (int y = 0; y < frame.h; y++) {
        const uint32_t* from = frame.Row(y);
        uint32_t* to = sheet.argb.data() + static_cast<size_t>(y0 + y) * sheet.w + x0;
        for (int x = 0; x < frame.w; x++) to[x] = from[x] | 0xFF000000u;
    }
}
