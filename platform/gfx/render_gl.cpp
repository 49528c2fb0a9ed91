// The OpenGL 2.1 back end: fixed function, client-side arrays, quads
// batched per texture, blend mode and clip rectangle, drawn into an
// off-screen back buffer (a framebuffer object) that keeps its content
// across Flip and is what read-backs see.

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gfx/display.h"
#include "platform/gfx/font.h"
#include "platform/gfx/gfx_internal.h"

namespace plat {

namespace gfx {
namespace {

void FlushIfUsing(GLuint id);

struct GLTexture {
    GLuint id = 0;
    std::uint64_t generation = 0;
    int width = 0, height = 0;
    GLTexture() = default;
    GLTexture(const GLTexture&) = delete;
    GLTexture& operator=(const GLTexture&) = delete;
    ~GLTexture() {
        if (id && generation == ContextGeneration() && ContextReady()) {
            // A pending batch may still draw from it.
            FlushIfUsing(id);
            glDeleteTextures(1, &id);
        }
    }
};

}  // namespace
}  // namespace gfx

namespace gfx {
namespace {
// A page shared by many small single-frame images (glyphs above all), cut
// into equal slots, so that text and small pictures draw from one texture.
struct SlotPage {
    std::shared_ptr<GLTexture> texture;
    bool filtered = false;
    std::vector<int> freeSlots;
};
}  // namespace
}  // namespace gfx

// One frame's place in its image's texture page.
struct FrameTexture {
    std::shared_ptr<gfx::GLTexture> texture;
    int cellX = 0, cellY = 0;  // top-left of the frame's pixels in the page
    std::weak_ptr<gfx::SlotPage> page;  // set for a slot of a shared page
    int slot = -1;
    FrameTexture() = default;
    FrameTexture(const FrameTexture&) = delete;
    FrameTexture& operator=(const FrameTexture&) = delete;
    ~FrameTexture() {
        if (auto p = page.lock()) p->freeSlots.push_back(slot);
    }
};

namespace gfx {
namespace {

struct Vertex {
    float x, y, u, v;
    std::uint32_t rgba;
};

struct Clip {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Clip&) const = default;
};

struct GLState {
    bool ready = false;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    GLuint fbo = 0, fboTexture = 0;
    int width = 0, height = 0;
    int maxTexture = 2048;
    std::shared_ptr<GLTexture> white;

    std::vector<std::shared_ptr<SlotPage>> slotPages;
    Letterbox lb;  // of the draw in progress
    // The last viewport and letterbox mapped to device pixels, and the result.
    Clip clipViewport;
    Letterbox clipLb;
    Clip clip;
    bool clipValid = false;

    std::vector<Vertex> batch;
    GLuint batchTexture = 0;
    int batchBlend = -1;
    Clip batchClip;
    GLuint boundTexture = 0;
    int appliedBlend = -1;
    Clip appliedClip{-1, -1, -1, -1};
};

GLState& G() {
    static GLState* g = new GLState;
    return *g;
}

template <class F>
F Load(const char* core, const char* ext) {
    void* p = SDL_GL_GetProcAddress(core);
    if (!p) p = SDL_GL_GetProcAddress(ext);
    return reinterpret_cast<F>(p);
}

std::uint32_t PackColor(const DrawState& s, float alpha) {
    const auto a = static_cast<std::uint32_t>(std::lround(std::clamp(alpha, 0.f, 1.f) * 255.f));
    return static_cast<std::uint32_t>(s.r) | (static_cast<std::uint32_t>(s.g) << 8) |
           (static_cast<std::uint32_t>(s.b) << 16) | (a << 24);
}

void ApplyBlend(int mode) {
    GLState& g = G();
    if (g.appliedBlend == mode) return;
    g.appliedBlend = mode;
    switch (mode) {
        case MASKBLEND:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case SOLIDBLEND:
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            break;
        default:  // ALPHABLEND
            glEnable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
    }
}

void ApplyClip(const Clip& c) {
    GLState& g = G();
    if (g.appliedClip == c) return;
    g.appliedClip = c;
    // The back buffer's rows run bottom to top.
    glScissor(c.x, g.height - c.y - c.h, c.w, c.h);
}

void BindTexture(GLuint id) {
    GLState& g = G();
    if (g.boundTexture == id) return;
    g.boundTexture = id;
    glBindTexture(GL_TEXTURE_2D, id);
}

// After GL state changed behind the trackers' back: the next batch sets
// blend, clip and texture again.
void ForgetAppliedState() {
    GLState& g = G();
    g.appliedBlend = -1;
    g.appliedClip = Clip{-1, -1, -1, -1};
    g.boundTexture = 0;
    glBindTexture(GL_TEXTURE_2D, 0);
}

void SetupProjection(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SetupDrawingState() {
    GLState& g = G();
    g.bindFramebuffer(GL_FRAMEBUFFER, g.fbo);
    SetupProjection(g.width, g.height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_SCISSOR_TEST);
    // The back buffer stays opaque: only colour is drawn.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    ForgetAppliedState();
}

// Sampling and storage of the texture bound now.
void DefineBoundTexture(int w, int h, bool filtered, const void* pixels) {
    const GLint f = filtered ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

std::shared_ptr<GLTexture> MakeTexture(int w, int h, bool filtered, const void* pixels) {
    auto t = std::make_shared<GLTexture>();
    t->generation = ContextGeneration();
    t->width = w;
    t->height = h;
    glGenTextures(1, &t->id);
    BindTexture(t->id);
    DefineBoundTexture(w, h, filtered, pixels);
    return t;
}

// The whole back buffer in one opaque colour, whatever the clip; the alpha
// channel is written too, so the buffer stays opaque.
void ClearBackBuffer(float r, float g, float b) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(r, g, b, 1.f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glEnable(GL_SCISSOR_TEST);
}

void DestroyBackBuffer() {
    GLState& g = G();
    if (g.fbo) g.deleteFramebuffers(1, &g.fbo);
    if (g.fboTexture) glDeleteTextures(1, &g.fboTexture);
    g.fbo = g.fboTexture = 0;
}

bool CreateBackBuffer(int w, int h) {
    GLState& g = G();
    DestroyBackBuffer();
    g.width = w;
    g.height = h;
    glGenTextures(1, &g.fboTexture);
    glBindTexture(GL_TEXTURE_2D, g.fboTexture);
    DefineBoundTexture(w, h, false, nullptr);
    g.genFramebuffers(1, &g.fbo);
    g.bindFramebuffer(GL_FRAMEBUFFER, g.fbo);
    g.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, g.fboTexture, 0);
    if (g.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        DestroyBackBuffer();
        return false;
    }
    SetupDrawingState();
    ClearBackBuffer(0, 0, 0);
    return true;
}

bool Drawing() { return G().ready && G().fbo != 0; }

void FlushBatch() {
    GLState& g = G();
    if (g.batch.empty()) return;
    ApplyBlend(g.batchBlend);
    ApplyClip(g.batchClip);
    BindTexture(g.batchTexture);
    const Vertex* v = g.batch.data();
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &v->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &v->rgba);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(g.batch.size()));
    g.batch.clear();
}

void FlushIfUsing(GLuint id) {
    GLState& g = G();
    if (!g.batch.empty() && g.batchTexture == id) FlushBatch();
    if (g.boundTexture == id) g.boundTexture = 0;
}

// The viewport mapped to device pixels and limited to the picture: edges
// are rounded (not widths), so neighbouring viewports meet exactly.
Clip ClipFor(const DrawState& s) {
    GLState& g = G();
    const Letterbox lb = CurrentLetterbox();
    g.lb = lb;
    const Clip viewport{s.vpX, s.vpY, s.vpW, s.vpH};
    if (g.clipValid && g.clipViewport == viewport && g.clipLb == lb) return g.clip;
    const float sc = lb.scale;
    auto edge = [](float v) { return static_cast<int>(std::lround(v)); };
    int x0 = edge(lb.offsetX + static_cast<float>(s.vpX) * sc);
    int y0 = edge(lb.offsetY + static_cast<float>(s.vpY) * sc);
    int x1 = edge(lb.offsetX + static_cast<float>(s.vpX + s.vpW) * sc);
    int y1 = edge(lb.offsetY + static_cast<float>(s.vpY + s.vpH) * sc);
    const int px0 = edge(lb.offsetX), py0 = edge(lb.offsetY);
    const int px1 = edge(lb.offsetX + lb.virtualW * sc);
    const int py1 = edge(lb.offsetY + lb.virtualH * sc);
    x0 = std::max({x0, px0, 0});
    y0 = std::max({y0, py0, 0});
    x1 = std::min({x1, px1, G().width});
    y1 = std::min({y1, py1, G().height});
    Clip c;
    c.x = x0;
    c.y = y0;
    c.w = std::max(0, x1 - x0);
    c.h = std::max(0, y1 - y0);
    g.clipViewport = viewport;
    g.clipLb = lb;
    g.clip = c;
    g.clipValid = true;
    return c;
}

// Starts (or continues) a batch for this texture, blend and clip; false when
// nothing can be drawn.
bool Begin(const DrawState& s, GLuint texture) {
    if (!Drawing()) return false;
    const Clip clip = ClipFor(s);
    if (clip.w <= 0 || clip.h <= 0) return false;
    GLState& g = G();
    if (!g.batch.empty() &&
        (g.batchTexture != texture || g.batchBlend != s.blend || g.batchClip != clip))
        FlushBatch();
    g.batchTexture = texture;
    g.batchBlend = s.blend;
    g.batchClip = clip;
    return true;
}

// Virtual coordinates to device pixels.
// The letterbox of the last Begin / ClipFor.
struct DeviceMap {
    float scale, ox, oy;
    DeviceMap() : scale(G().lb.scale), ox(G().lb.offsetX), oy(G().lb.offsetY) {}
};

void PushQuad(const DeviceMap& dm, const float (&vx)[4], const float (&vy)[4], float u0, float v0,
              float u1, float v1, std::uint32_t rgba) {
    auto& b = G().batch;
    const std::size_t n = b.size();
    b.resize(n + 4);
    Vertex* v = b.data() + n;
    v[0] = Vertex{dm.ox + vx[0] * dm.scale, dm.oy + vy[0] * dm.scale, u0, v0, rgba};
    v[1] = Vertex{dm.ox + vx[1] * dm.scale, dm.oy + vy[1] * dm.scale, u1, v0, rgba};
    v[2] = Vertex{dm.ox + vx[2] * dm.scale, dm.oy + vy[2] * dm.scale, u1, v1, rgba};
    v[3] = Vertex{dm.ox + vx[3] * dm.scale, dm.oy + vy[3] * dm.scale, u0, v1, rgba};
}

// A local rectangle (lx, ly, w, h) through m, textured with (u0, v0)-(u1, v1).
void PushLocalRect(const DeviceMap& dm, const Affine& m, float lx, float ly, float w, float h,
                   float u0, float v0, float u1, float v1, std::uint32_t rgba) {
    float vx[4], vy[4];
    m.Apply(lx, ly, vx[0], vy[0]);
    m.Apply(lx + w, ly, vx[1], vy[1]);
    m.Apply(lx + w, ly + h, vx[2], vy[2]);
    m.Apply(lx, ly + h, vx[3], vy[3]);
    PushQuad(dm, vx, vy, u0, v0, u1, v1, rgba);
}

GLuint WhiteTexture() {
    GLState& g = G();
    if (!g.white || g.white->generation != ContextGeneration()) {
        const std::uint32_t px = 0xFFFFFFFFu;
        g.white = MakeTexture(1, 1, false, &px);
    }
    return g.white->id;
}

// Pages of an image's frames: each frame sits in a cell with a one-pixel
// border copied from its edges, so sampling never bleeds between frames.
void UploadCell(const TImage& image, int frame, const FrameTexture& ft) {
    const int w = image.width, h = image.height;
    const int cw = w + 2, ch = h + 2;
    std::vector<std::uint32_t> cell(static_cast<std::size_t>(cw) * static_cast<std::size_t>(ch));
    const TPixmap& p = *image.pixmaps[static_cast<std::size_t>(frame)];
    for (int y = 0; y < ch; ++y) {
        const int sy = std::clamp(y - 1, 0, h - 1);
        for (int x = 0; x < cw; ++x) {
            const int sx = std::clamp(x - 1, 0, w - 1);
            cell[static_cast<std::size_t>(y) * static_cast<std::size_t>(cw) +
                 static_cast<std::size_t>(x)] = p.Read(sx, sy);
        }
    }
    BindTexture(ft.texture->id);
    glTexSubImage2D(GL_TEXTURE_2D, 0, ft.cellX - 1, ft.cellY - 1, cw, ch, GL_BGRA,
                    GL_UNSIGNED_BYTE, cell.data());
}

constexpr int kSlotSize = 34;   // a 32 x 32 picture and its border
constexpr int kSlotsPerRow = 30;

std::shared_ptr<FrameTexture> AllocSlot(bool filtered) {
    GLState& g = G();
    std::shared_ptr<SlotPage> page;
    for (auto& p : g.slotPages)
        if (p->filtered == filtered && !p->freeSlots.empty()) {
            page = p;
            break;
        }
    if (!page) {
        page = std::make_shared<SlotPage>();
        page->filtered = filtered;
        const int side = kSlotSize * kSlotsPerRow;
        page->texture = MakeTexture(side, side, filtered, nullptr);
        for (int i = kSlotsPerRow * kSlotsPerRow - 1; i >= 0; --i) page->freeSlots.push_back(i);
        g.slotPages.push_back(page);
    }
    auto ft = std::make_shared<FrameTexture>();
    ft->slot = page->freeSlots.back();
    page->freeSlots.pop_back();
    ft->page = page;
    ft->texture = page->texture;
    ft->cellX = (ft->slot % kSlotsPerRow) * kSlotSize + 1;
    ft->cellY = (ft->slot / kSlotsPerRow) * kSlotSize + 1;
    return ft;
}

void BuildPages(TImage& image) {
    const int n = image.Frames();
    const int cw = image.width + 2, ch = image.height + 2;
    const int maxT = G().maxTexture;
    image.textures.assign(static_cast<std::size_t>(n), nullptr);
    image.dirty.assign(static_cast<std::size_t>(n), true);
    if (n == 1 && cw <= kSlotSize && ch <= kSlotSize) {
        image.textures[0] = AllocSlot((image.flags & FILTEREDIMAGE) != 0);
        return;
    }
    if (n == 0 || cw > maxT || ch > maxT) return;
    // Roughly square pages.
    int cols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n) * ch / cw)));
    cols = std::clamp(cols, 1, std::min(n, maxT / cw));
    const int rowsMax = std::max(1, maxT / ch);
    const int perPage = cols * rowsMax;
    const bool filtered = (image.flags & FILTEREDIMAGE) != 0;
    for (int first = 0; first < n; first += perPage) {
        const int count = std::min(perPage, n - first);
        const int pcols = std::min(cols, count);
        const int prows = (count + pcols - 1) / pcols;
        auto page = MakeTexture(pcols * cw, prows * ch, filtered, nullptr);
        for (int i = 0; i < count; ++i) {
            auto ft = std::make_shared<FrameTexture>();
            ft->texture = page;
            ft->cellX = (i % pcols) * cw + 1;
            ft->cellY = (i / pcols) * ch + 1;
            image.textures[static_cast<std::size_t>(first + i)] = ft;
        }
    }
}

const FrameTexture* Prepare(TImage& image, int frame) {
    if (!Drawing() || !image.HasFrame(frame)) return nullptr;
    const auto idx = static_cast<std::size_t>(frame);
    if (image.textures.size() != image.pixmaps.size() || !image.textures[idx] ||
        image.textures[idx]->texture->generation != ContextGeneration()) {
        // The image's pages are (re)built together; every cell is filled
        // on first use.
        BuildPages(image);
        if (!image.textures[idx]) return nullptr;
    }
    if (image.dirty.size() != image.pixmaps.size()) image.dirty.assign(image.pixmaps.size(), true);
    if (image.dirty[idx]) {
        // A batch may still sample the old texels.
        FlushBatch();
        UploadCell(image, frame, *image.textures[idx]);
        image.dirty[idx] = false;
    }
    return image.textures[idx].get();
}

class GLBackEnd final : public Renderer {
public:
    void Cls(const DrawState& s) override {
        if (!Drawing()) return;
        FlushBatch();
        ClearBackBuffer(static_cast<float>(s.clsR) / 255.f, static_cast<float>(s.clsG) / 255.f,
                        static_cast<float>(s.clsB) / 255.f);
    }

    void Plot(const DrawState& s, float x, float y) override {
        if (!Begin(s, WhiteTexture())) return;
        const DeviceMap dm;
        const float px = s.originX + x, py = s.originY + y;
        const float vx[4] = {px, px + 1, px + 1, px};
        const float vy[4] = {py, py, py + 1, py + 1};
        PushQuad(dm, vx, vy, 0, 0, 1, 1, PackColor(s, s.alpha));
    }

    void Line(const DrawState& s, float x1, float y1, float x2, float y2, bool lastPixel) override {
        if (!Begin(s, WhiteTexture())) return;
        const DeviceMap dm;
        const Affine m = LocalToVirtual(s, x1, y1, s.handleX, s.handleY);
        float ax, ay, bx, by;
        m.Apply(0, 0, ax, ay);
        m.Apply(x2 - x1, y2 - y1, bx, by);
        // Through the pixel centres, half a line width beyond each end
        // point so that the end pixels are covered whole.
        ax += 0.5f;
        ay += 0.5f;
        bx += 0.5f;
        by += 0.5f;
        const float hw = s.lineWidth / 2;
        float dx = bx - ax, dy = by - ay;
        const float len = std::sqrt(dx * dx + dy * dy);
        if (len < 1e-6f) {
            if (!lastPixel) return;
            dx = 1;
            dy = 0;
        } else {
            dx /= len;
            dy /= len;
        }
        const float nx = -dy * hw, ny = dx * hw;
        const float sx = ax - dx * hw, sy = ay - dy * hw;
        const float ex = bx + (lastPixel ? dx * hw : -dx * hw);
        const float ey = by + (lastPixel ? dy * hw : -dy * hw);
        const float vx[4] = {sx + nx, ex + nx, ex - nx, sx - nx};
        const float vy[4] = {sy + ny, ey + ny, ey - ny, sy - ny};
        PushQuad(dm, vx, vy, 0, 0, 1, 1, PackColor(s, s.alpha));
    }

    void Rect(const DrawState& s, float x, float y, float w, float h) override {
        if (!Begin(s, WhiteTexture())) return;
        const DeviceMap dm;
        const Affine m = LocalToVirtual(s, x, y, s.handleX, s.handleY);
        PushLocalRect(dm, m, 0, 0, w, h, 0, 0, 1, 1, PackColor(s, s.alpha));
    }

    void Oval(const DrawState& s, float x, float y, float w, float h) override {
        if (!Begin(s, WhiteTexture())) return;
        const DeviceMap dm;
        const Affine m = LocalToVirtual(s, x, y, s.handleX, s.handleY);
        const float rx = w / 2, ry = h / 2;
        const float devR = (std::fabs(rx * s.scaleX) + std::fabs(ry * s.scaleY)) * dm.scale;
        const int n = std::clamp(static_cast<int>(std::ceil(devR * 1.5f)), 12, 256);
        const std::uint32_t c = PackColor(s, s.alpha);
        float cx, cy;
        m.Apply(rx, ry, cx, cy);
        float px, py;
        m.Apply(rx + rx, ry, px, py);
        for (int i = 1; i <= n; ++i) {
            const double t = 2.0 * M_PI * i / n;
            float qx, qy;
            m.Apply(rx + rx * static_cast<float>(std::cos(t)),
                    ry + ry * static_cast<float>(std::sin(t)), qx, qy);
            const float vx[4] = {cx, px, qx, qx};
            const float vy[4] = {cy, py, qy, qy};
            PushQuad(dm, vx, vy, 0, 0, 1, 1, c);
            px = qx;
            py = qy;
        }
    }

    void Image(const DrawState& s, TImage& image, int frame, float x, float y, float w, float h,
               float sx, float sy, float sw, float sh, float hx, float hy) override {
        if (!Drawing()) return;
        const FrameTexture* ft = Prepare(image, frame);
        if (!ft) return;
        if (!Begin(s, ft->texture->id)) return;
        const DeviceMap dm;
        const Affine m = LocalToVirtual(s, x, y, hx, hy);
        const float tw = static_cast<float>(ft->texture->width);
        const float th = static_cast<float>(ft->texture->height);
        const float cx = static_cast<float>(ft->cellX), cy = static_cast<float>(ft->cellY);
        PushLocalRect(dm, m, 0, 0, w, h, (cx + sx) / tw, (cy + sy) / th, (cx + sx + sw) / tw,
                      (cy + sy + sh) / th, PackColor(s, s.alpha));
    }

    void Text(const DrawState& st, TImageFont& font, const std::string& text, float x,
              float y) override {
        if (!Drawing()) return;
        // Solid text shows its glyphs, not the boxes around them.
        DrawState s = st;
        if (s.blend == SOLIDBLEND) s.blend = MASKBLEND;
        const Clip all = ClipFor(s);
        if (all.w <= 0 || all.h <= 0) return;
        const Affine m = LocalToVirtual(s, x, y, s.handleX, s.handleY);
        const DeviceMap dm;
        const std::uint32_t c = PackColor(s, s.alpha);
        float pen = 0;
        for (unsigned char ch : text) {
            const TImageGlyph& gl = font.Glyph(ch);
            if (gl.image) {
                const FrameTexture* ft = Prepare(*gl.image, 0);
                if (ft && Begin(s, ft->texture->id)) {
                    const float tw = static_cast<float>(ft->texture->width);
                    const float th = static_cast<float>(ft->texture->height);
                    const float cx = static_cast<float>(ft->cellX);
                    const float cy = static_cast<float>(ft->cellY);
                    const float gw = static_cast<float>(gl.image->width);
                    const float gh = static_cast<float>(gl.image->height);
                    PushLocalRect(dm, m, pen + static_cast<float>(gl.x),
                                  static_cast<float>(gl.y), gw, gh, cx / tw, cy / th,
                                  (cx + gw) / tw, (cy + gh) / th, c);
                }
            }
            pen += gl.advance;
        }
    }
};

}  // namespace

Renderer& GLRenderer() {
    static GLBackEnd* r = new GLBackEnd;
    return *r;
}

void GLContextCreated() {
    GLState& g = G();
    g.batch.clear();
    g.batch.reserve(4096 * 4);
    g.white.reset();
    g.genFramebuffers = Load<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers", "glGenFramebuffersEXT");
    g.deleteFramebuffers =
        Load<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers", "glDeleteFramebuffersEXT");
    g.bindFramebuffer = Load<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer", "glBindFramebufferEXT");
    g.framebufferTexture2D = Load<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D",
                                                                  "glFramebufferTexture2DEXT");
    g.checkFramebufferStatus = Load<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(
        "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT");
    g.ready = g.genFramebuffers && g.deleteFramebuffers && g.bindFramebuffer &&
              g.framebufferTexture2D && g.checkFramebufferStatus;
    GLint maxT = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxT);
    g.maxTexture = maxT > 0 ? std::min<GLint>(maxT, 8192) : 2048;
    g.fbo = g.fboTexture = 0;
    g.width = g.height = 0;
    g.slotPages.clear();
    g.clipValid = false;
}

void GLContextDestroying() {
    GLState& g = G();
    g.batch.clear();
    g.slotPages.clear();
    g.clipValid = false;
    if (g.ready) DestroyBackBuffer();
    g.white.reset();
    g.ready = false;
}

void GLResizeBackBuffer(int width, int height) {
    GLState& g = G();
    if (!g.ready) return;
    FlushBatch();
    g.clipValid = false;
    if (!CreateBackBuffer(width, height)) g.ready = false;
}

void GLFlush() {
    if (Drawing()) FlushBatch();
}

void GLForgetState() {
    if (!Drawing()) return;
    ForgetAppliedState();
    glEnable(GL_SCISSOR_TEST);
}

void GLPresent() {
    GLState& g = G();
    if (!Drawing()) return;
    FlushBatch();
    g.bindFramebuffer(GL_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    SetupProjection(g.width, g.height);
    glBindTexture(GL_TEXTURE_2D, g.fboTexture);
    const float w = static_cast<float>(g.width), h = static_cast<float>(g.height);
    const Vertex quad[4] = {{0, 0, 0, 1, 0xFFFFFFFFu},
                            {w, 0, 1, 1, 0xFFFFFFFFu},
                            {w, h, 1, 0, 0xFFFFFFFFu},
                            {0, h, 0, 0, 0xFFFFFFFFu}};
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &quad[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &quad[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &quad[0].rgba);
    glDrawArrays(GL_QUADS, 0, 4);
    SetupDrawingState();
}

Ref<TPixmap> GLReadBack(int x, int y, int w, int h) {
    GLState& g = G();
    if (!Drawing()) return nullptr;
    FlushBatch();
    const int x0 = std::clamp(x, 0, g.width), y0 = std::clamp(y, 0, g.height);
    const int x1 = std::clamp(x + w, 0, g.width), y1 = std::clamp(y + h, 0, g.height);
    auto p = New<TPixmap>(std::max(0, x1 - x0), std::max(0, y1 - y0), PF_RGBA8888);
    if (p->width == 0 || p->height == 0) return p;
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(p->width) *
                                    static_cast<std::size_t>(p->height));
    glReadPixels(x0, g.height - y1, p->width, p->height, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    for (int r = 0; r < p->height; ++r) {
        const std::uint32_t* src =
            rows.data() + static_cast<std::size_t>(p->height - 1 - r) * static_cast<std::size_t>(p->width);
        std::uint32_t* dst =
            p->pixels.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(p->width);
        for (int c = 0; c < p->width; ++c) dst[c] = src[c] | 0xFF000000u;
    }
    return p;
}

void GLPrepareFrame(TImage& image, int frame) { Prepare(image, frame); }

}  // namespace gfx
}  // namespace plat
