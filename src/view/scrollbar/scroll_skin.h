#pragma once
// The scrollbar skin image: where its pieces lie and how the track and thumb pictures are
// put together from them. Pieces are 17 pixels thick; opaque magenta pixels (0xFF00FF) are
// markers. An image is "marked" when pixel (0, 35) is a marker; a marked image gives the cap,
// body and grip sizes by runs of marker pixels, an unmarked one uses fixed sizes.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "view/gfx/surface.h"

constexpr int kSkinPiece = 17;

enum SkinState : int { kSkinNormal = 0, kSkinHot = 1, kSkinPressed = 2 };

struct ScrollSkinLayout {
    bool valid = false;  // the image is large enough for every piece
    bool marked = false;
    // Vertical track: the normal look at x 170, the pressed look at x 187.
    int trackX[2] = {170, 187};
    int trackY = 34;
    int trackHeight = 204;
    int trackTopCap = 0;     // rows copied unscaled in length; 0 = the whole source is stretched
    int trackBottomCap = 0;
    // Vertical thumb: normal, hot and pressed at these x; five stacked parts from thumbY.
    int thumbX[3] = {0, 17, 34};
    int thumbY = 116;
    int thumbParts[5] = {8, 16, 18, 16, 8}; // top cap, upper body, grip, lower body, bottom cap
    // Arrow cells, 17 x 17: normal, hot and pressed at these x.
    int arrowX[3] = {116, 133, 150};
    int arrowUpY = 121;
    int arrowDownY = 181;
};

bool isSkinMarker(uint32_t pixel);
ScrollSkinLayout readSkinLayout(const Surface& image);

// A loaded skin. The generation changes whenever the image does, so cached pictures made
// from an older image are rebuilt.
struct ScrollSkin {
    std::unique_ptr<Surface> image;
    ScrollSkinLayout layout;
    unsigned generation = 0;
    bool usable() const { return image && layout.valid; }
};

// Where the bars get their skin: the image file, loaded the first time a bar is painted and
// kept until released. Owned by the window that owns the bars.
class SkinSource {
public:
    explicit SkinSource(std::string path) : path_(std::move(path)) {}
    // The skin, or null when the image is missing or unusable (the bars then use the plain
    // look).
    const ScrollSkin* skin();
    // Drops the image; the next paint loads it again.
    void release();

private:
    std::string path_;
    ScrollSkin skin_;
    bool tried_ = false;
    unsigned generation_ = 0;
};

// The track picture for a bar of the given thickness and length: the normal look in the
// left half (x 0 .. thickness - 1), the pressed look in the right half. Caps keep their
// height (scaled only in thickness); the middle is stretched.
void composeTrackPicture(Surface& out, const Surface& image, const ScrollSkinLayout& layout, int thickness, int length);

// The thumb picture of the given size and state, built at full cap and grip size in scratch
// (which only grows) and then scaled to length.
void composeThumbPicture(Surface& out, Surface& scratch, const Surface& image, const ScrollSkinLayout& layout, int state,
                         int width, int length);
