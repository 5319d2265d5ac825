#pragma once
// Sizes of a ZListBox row, shared by its layout and its drawing.

namespace ZListBoxGeometry {
constexpr int Pad = 3;             // space above and below the row's contents
constexpr int PictureWidth = 32;   // column of pictures
constexpr int PictureMaxHeight = 48;
constexpr int Gap = 6;
} // namespace ZListBoxGeometry
