// Images: frames kept as pixmaps, textures made by the back end on demand.

#include "platform/gfx/image.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/display.h"
#include "platform/gfx/gfx_internal.h"

namespace plat {
namespace {

struct ImageSettings {
    int autoFlags = FILTEREDIMAGE;
    bool autoMidHandle = false;
    int maskR = 0, maskG = 0, maskB = 0;
};

ImageSettings& Settings() {
    static ImageSettings s;
    return s;
}

int ResolveFlags(int flags) { return flags == -1 ? Settings().autoFlags : flags; }

Ref<TImage> FromFrames(std::vector<Ref<TPixmap>> frames, int w, int h, int flags) {
    flags = ResolveFlags(flags);
    auto img = New<TImage>(w, h, 0, flags);
    const auto& st = Settings();
    img->maskR = st.maskR;
    img->maskG = st.maskG;
    img->maskB = st.maskB;
    for (auto& f : frames) {
        if (flags & MASKEDIMAGE) f = MaskPixmap(f, st.maskR, st.maskG, st.maskB);
        img->pixmaps.push_back(f);
    }
    img->textures.assign(img->pixmaps.size(), nullptr);
    img->dirty.assign(img->pixmaps.size(), true);
    if (st.autoMidHandle) MidHandleImage(img);
    return img;
}

}  // namespace

namespace gfx {
void SetDriverImageFlags(int flags) { Settings().autoFlags = flags; }
}  // namespace gfx

TImage::TImage(int w, int h, int frames, int f)
    : width(std::max(0, w)), height(std::max(0, h)), flags(f) {
    for (int i = 0; i < frames; ++i) pixmaps.push_back(New<TPixmap>(width, height, PF_RGBA8888));
    textures.assign(pixmaps.size(), nullptr);
    dirty.assign(pixmaps.size(), true);
}

TImage::~TImage() = default;

bool TImage::Frame(int i) {
    if (!HasFrame(i)) return false;
    if (gfx::ContextReady()) gfx::GLPrepareFrame(*this, i);
    return true;
}

void TImage::Touch(int i) {
    if (!HasFrame(i)) return;
    if (dirty.size() != pixmaps.size()) dirty.assign(pixmaps.size(), true);
    dirty[static_cast<std::size_t>(i)] = true;
}

Ref<TImage> LoadImage(const std::string& url, int flags) {
    auto p = LoadPixmap(url);
    if (!p) return nullptr;
    return LoadImage(p, flags);
}

Ref<TImage> LoadImage(const Ref<TPixmap>& pixmap, int flags) {
    if (!pixmap) return nullptr;
    return FromFrames({pixmap->Copy()}, pixmap->width, pixmap->height, flags);
}

Ref<TImage> LoadAnimImage(const std::string& url, int cellWidth, int cellHeight, int first,
                          int count, int flags) {
    auto p = LoadPixmap(url);
    if (!p) return nullptr;
    return LoadAnimImage(p, cellWidth, cellHeight, first, count, flags);
}

Ref<TImage> LoadAnimImage(const Ref<TPixmap>& pixmap, int cellWidth, int cellHeight, int first,
                          int count, int flags) {
    if (!pixmap || cellWidth <= 0 || cellHeight <= 0 || first < 0 || count <= 0) return nullptr;
    const int cols = pixmap->width / cellWidth;
    const int rows = pixmap->height / cellHeight;
    if (static_cast<long long>(first) + count > static_cast<long long>(cols) * rows)
        return nullptr;
    std::vector<Ref<TPixmap>> frames;
    for (int i = first; i < first + count; ++i)
        frames.push_back(
            pixmap->Window((i % cols) * cellWidth, (i / cols) * cellHeight, cellWidth, cellHeight));
    return FromFrames(std::move(frames), cellWidth, cellHeight, flags);
}

Ref<TImage> CreateImage(int width, int height, int frames, int flags) {
    if (width <= 0 || height <= 0 || frames <= 0) return nullptr;
    auto img = New<TImage>(width, height, frames, ResolveFlags(flags));
    if (Settings().autoMidHandle) MidHandleImage(img);
    return img;
}

void GrabImage(const Ref<TImage>& image, int x, int y, int frame) {
    if (!image || !image->HasFrame(frame)) return;
    auto back = gfx::GLReadBack(x, y, image->width, image->height);
    if (!back) return;
    // Pixels outside the drawing space come out transparent black.
    const int dx = std::max(0, -x), dy = std::max(0, -y);
    auto& dst = *image->pixmaps[static_cast<std::size_t>(frame)];
    for (int j = 0; j < image->height; ++j)
        for (int i = 0; i < image->width; ++i) {
            const bool inside = i >= dx && j >= dy && i - dx < back->width && j - dy < back->height;
            dst.Write(i, j, inside ? back->Read(i - dx, j - dy) : 0u);
        }
    image->Touch(frame);
}

Ref<TPixmap> LockImage(const Ref<TImage>& image, int frame, bool /*read*/, bool write) {
    if (!image || !image->HasFrame(frame)) return nullptr;
    if (write) image->Touch(frame);
    return image->pixmaps[static_cast<std::size_t>(frame)];
}

void UnlockImage(const Ref<TImage>& image, int frame) {
    if (image) image->Touch(frame);
}

int ImageWidth(const Ref<TImage>& image) { return image ? image->width : 0; }
int ImageHeight(const Ref<TImage>& image) { return image ? image->height : 0; }
int ImageFrames(const Ref<TImage>& image) { return image ? image->Frames() : 0; }

void MidHandleImage(const Ref<TImage>& image) {
    if (!image) return;
    image->handleX = static_cast<float>(image->width / 2);
    image->handleY = static_cast<float>(image->height / 2);
}

void SetImageHandle(const Ref<TImage>& image, float x, float y) {
    if (!image) return;
    image->handleX = x;
    image->handleY = y;
}

float ImageXHandle(const Ref<TImage>& image) { return image ? image->handleX : 0; }
float ImageYHandle(const Ref<TImage>& image) { return image ? image->handleY : 0; }

void AutoMidHandle(bool on) { Settings().autoMidHandle = on; }
bool AutoMidHandleOn() { return Settings().autoMidHandle; }
void AutoImageFlags(int flags) { Settings().autoFlags = flags; }
int GetAutoImageFlags() { return Settings().autoFlags; }

void SetMaskColor(int r, int g, int b) {
    Settings().maskR = r & 255;
    Settings().maskG = g & 255;
    Settings().maskB = b & 255;
}

void GetMaskColor(int& r, int& g, int& b) {
    r = Settings().maskR;
    g = Settings().maskG;
    b = Settings().maskB;
}

}  // namespace plat
