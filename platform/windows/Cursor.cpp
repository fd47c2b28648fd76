// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Cursor.hpp"

#include <map>

namespace platform {

namespace {

std::map<CursorId, CursorImage>& table() {
    static std::map<CursorId, CursorImage> t;
    return t;
}

// The help cursor: the arrow with a question mark beside it ('#' black, '.' white).
const char* const kHelp[] = {
    "#                               ", "##                              ",
    "#.#                             ", "#..#                            ",
    "#...#                           ", "#....#          #####           ",
    "#.....#        #.....#          ", "#......#      #..###..#         ",
    "#.......#     #..# #..#         ", "#........#     ## #..#          ",
    "#.....#####      #..#           ", "#..#..#         #..#            ",
    "#.# #..#        #..#            ", "##  #..#         ##             ",
    "#    #..#       #..#            ", "     #..#       #..#            ",
    "      ##         ##             ",
};

CursorImage makeHelp() {
    CursorImage c{Bitmap(32, 32, PixelFormat::Bgra32), {0, 0}};
    c.image.fill(0);
    for (int y = 0; y < int(std::size(kHelp)); ++y)
        for (int x = 0; x < 32 && kHelp[y][x]; ++x) {
            const char ch = kHelp[y][x];
            if (ch == ' ') continue;
            std::uint8_t* p = c.image.scanline(y) + x * 4;
            const std::uint8_t v = ch == '#' ? 0 : 255;
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    return c;
}

} // namespace

void registerCursor(CursorId id, const Bitmap& picture, Point hotSpot, std::optional<Color> transparent) {
    CursorImage c{Bitmap(picture.width(), picture.height(), PixelFormat::Bgra32), hotSpot};
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* d = c.image.scanline(y);
        for (int x = 0; x < picture.width(); ++x, d += 4) {
            const Color col = picture.pixel(x, y);
            d[0] = blueOf(col), d[1] = greenOf(col), d[2] = redOf(col);
            if (picture.format() == PixelFormat::Bgra32)
                d[3] = picture.scanline(y)[x * 4 + 3];
            else
                d[3] = transparent && col == *transparent ? 0 : 255;
        }
    }
    table()[id] = std::move(c);
}

const CursorImage* cursorImage(CursorId id) {
    if (id == kCursorHelp) {
        static const CursorImage help = makeHelp();
        return &help;
    }
    const auto it = table().find(id);
    return it == table().end() ? nullptr : &it->second;
}

} // namespace platform
