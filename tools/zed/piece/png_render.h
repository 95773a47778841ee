// PNG pictures of SVG files through rsvg-convert, when it is installed.
#ifndef ZED_PIECE_PNG_RENDER_H
#define ZED_PIECE_PNG_RENDER_H

#include <string>

namespace zedpiece {

/// Renders `svg` into `png` (at `width` pixels) by running rsvg-convert from the search path.
/// Throws PieceError when it is missing or fails; the PNG is written beside and renamed, so a
/// failed run leaves no file.
void RenderPng(const std::string& svg, const std::string& png, int width);

}  // namespace zedpiece

#endif
