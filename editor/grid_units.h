#pragma once

namespace quorim {

// The grid measures in twips, 1/1440 inch. Pixels follow from the screen's
// pixels per logical inch, truncating toward zero, as the in-place editors'
// placement expects. Pixels become twips rounded away from zero, so that the
// twips of a pixel position turn back into that very pixel at any density:
// a cell read in twips and an editor placed from them meet exactly, and a
// width read and written back does not shrink.
inline constexpr int kTwipsPerInch = 1440;

inline constexpr int TwipsToPixels(long twips, int pixelsPerInch) {
    return static_cast<int>(twips * pixelsPerInch / kTwipsPerInch);
}

inline constexpr long PixelsToTwips(int pixels, int pixelsPerInch) {
    if (pixelsPerInch <= 0) {
        return 0;
    }
    const long magnitude =
        (static_cast<long>(pixels < 0 ? -pixels : pixels) * kTwipsPerInch + pixelsPerInch - 1) /
        pixelsPerInch;
    return pixels < 0 ? -magnitude : magnitude;
}

}  // namespace quorim
