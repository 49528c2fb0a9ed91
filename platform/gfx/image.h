#pragma once
// Images: one or more frames of equal size, kept as pixmaps in memory and
// turned into textures when first drawn (or preloaded), so they survive
// every re-open of the display.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/object.h"
#include "platform/gfx/pixmap.h"

namespace plat {

enum ImageFlags {
    MASKEDIMAGE = 1,    // mask-coloured pixels become fully transparent
    FILTEREDIMAGE = 2,  // linear sampling; otherwise nearest
    MIPMAPPEDIMAGE = 4, // accepted, no effect
    DYNAMICIMAGE = 8,   // accepted, no effect (pixels are always kept)
};

// Renderer-side data of one frame (a texture); created lazily.
struct FrameTexture;

class TImage : public Object {
public:
    TImage(int width, int height, int frames, int flags);
    ~TImage() override;
    int width, height, flags;
    float handleX = 0, handleY = 0;
    int maskR = 0, maskG = 0, maskB = 0;  // the mask colour used at load
    std::vector<Ref<TPixmap>> pixmaps;     // one per frame

    int Frames() const { return static_cast<int>(pixmaps.size()); }
    bool HasFrame(int i) const { return i >= 0 && i < Frames(); }
    // Makes frame i ready to draw now (texture created); false when out of range.
    bool Frame(int i);
    // Marks frame i changed so its texture is refreshed before the next draw.
    void Touch(int i);

    // Renderer bookkeeping.
    std::vector<std::shared_ptr<FrameTexture>> textures;
    std::vector<bool> dirty;
};

// flags -1: the automatic flags (AutoImageFlags).  nullptr on failure.
Ref<TImage> LoadImage(const std::string& url, int flags = -1);
Ref<TImage> LoadImage(const Ref<TPixmap>& pixmap, int flags = -1);
// Cells of cellWidth x cellHeight cut left to right, then top to bottom,
// starting at cell `first`; nullptr when the picture holds fewer cells.
Ref<TImage> LoadAnimImage(const std::string& url, int cellWidth, int cellHeight, int first,
                          int count, int flags = -1);
Ref<TImage> LoadAnimImage(const Ref<TPixmap>& pixmap, int cellWidth, int cellHeight, int first,
                          int count, int flags = -1);
Ref<TImage> CreateImage(int width, int height, int frames = 1, int flags = -1);
// Copies the back buffer at virtual (x, y) into frame `frame` of the image.
void GrabImage(const Ref<TImage>& image, int x, int y, int frame = 0);
// The frame's pixels; write through it, then UnlockImage uploads them.
Ref<TPixmap> LockImage(const Ref<TImage>& image, int frame = 0, bool read = true,
                       bool write = true);
void UnlockImage(const Ref<TImage>& image, int frame = 0);

int ImageWidth(const Ref<TImage>& image);
int ImageHeight(const Ref<TImage>& image);
int ImageFrames(const Ref<TImage>& image);
void MidHandleImage(const Ref<TImage>& image);  // integer halves
void SetImageHandle(const Ref<TImage>& image, float x, float y);
float ImageXHandle(const Ref<TImage>& image);
float ImageYHandle(const Ref<TImage>& image);

// Images loaded from now on get a mid handle (on) or (0, 0) (off).
void AutoMidHandle(bool on);
bool AutoMidHandleOn();
// The flags used for loads with flags -1.
void AutoImageFlags(int flags);
int GetAutoImageFlags();
void SetMaskColor(int r, int g, int b);
void GetMaskColor(int& r, int& g, int& b);

}  // namespace plat
