#pragma once

namespace quorim {

// The grid measures in twips, 1/1440 inch. Pixels follow from the screen's
// pixels per logical inch; both directions truncate toward zero, as the
// in-place editors' placement expects.
inline constexpr int kTwipsPerInch = 1440;

inline constexpr int TwipsToPixels(long twips, int pixelsPerInch) {
    return static_cast<int>(twips * pixelsPerInch / kTwipsPerInch);
}

inline constexpr long PixelsToTwips(int pixels, int pixelsPerInch) {
    return pixelsPerInch > 0 ? static_cast<long>(pixels) * kTwipsPerInch / pixelsPerInch : 0;
}

}  // namespace quorim
