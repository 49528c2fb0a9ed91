// The OpenGL 2.1 back end: fixed function, client-side arrays, quads
// batched per texture, blend mode and clip rectangle, drawn into an
// off-screen back buffer (a framebuffer object) of the drawing space's size
// that keeps its content across Flip and is what read-backs see.  Flip
// scales it once onto the window: whole-number scales pixel for pixel, any
// other scale through a small shader that keeps every pixel equally wide.

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
    int slotSize = 0;  // the side of a slot: the largest picture it takes plus its border
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

// The shader that scales the back buffer by a fraction: each drawing-space
// pixel is magnified by the whole part of the scale without blending, and
// only a band of about one window pixel at its edges is interpolated
// ("sharp bilinear"), so every pixel comes out equally wide.
struct Scaler {
    bool tried = false;
    GLuint program = 0;
    PFNGLBINDPROGRAMARBPROC bind = nullptr;
    PFNGLPROGRAMLOCALPARAMETER4FARBPROC local = nullptr;
    PFNGLDELETEPROGRAMSARBPROC deletePrograms = nullptr;
};

struct GLState {
    bool ready = false;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    // The back buffer: the drawing space (spaceW x spaceH virtual pixels)
    // at `factor` x `factor` buffer pixels per virtual pixel, width x height
    // in all.  The factor is 1, except while frames draw pictures scaled by
    // a fraction or turned: those are drawn at `fineFactor`, the whole part
    // of the window's scale, so that they keep their detail.
    GLuint fbo = 0, fboTexture = 0;
    int spaceW = 0, spaceH = 0;
    int factor = 1, fineFactor = 1;
    bool fineSinceClear = false;  // such a picture drawn since the last clear
    int width = 0, height = 0;
    int maxTexture = 2048;
    std::shared_ptr<GLTexture> white;
    // The colour of the last clear: the bars around the picture show it.
    float clearR = 0, clearG = 0, clearB = 0;
    // Whether anything was drawn since the back buffer was cleared (or
    // made), and the colour it was cleared to.
    bool painted = false;
    float fillR = 0, fillG = 0, fillB = 0;
    Scaler scaler;

    std::vector<std::shared_ptr<SlotPage>> slotPages;
    // The last viewport limited to the back buffer.
    Clip clipViewport;
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

// A GL entry point by its core name, or by its extension's name.
template <class F>
F Load(const char* core, const char* ext = nullptr) {
    void* p = SDL_GL_GetProcAddress(core);
    if (!p && ext) p = SDL_GL_GetProcAddress(ext);
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
    const int f = g.factor;
    glScissor(c.x * f, g.height - (c.y + c.h) * f, c.w * f, c.h * f);
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

// A target of w x h pixels seen as unitsW x unitsH, y pointing down.
void SetupProjection(int w, int h, double unitsW, double unitsH) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, unitsW, unitsH, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SetupProjection(int w, int h) { SetupProjection(w, h, w, h); }

void SetupDrawingState() {
    GLState& g = G();
    g.bindFramebuffer(GL_FRAMEBUFFER, g.fbo);
    // Drawing is in virtual units.
    SetupProjection(g.width, g.height, g.spaceW, g.spaceH);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_SCISSOR_TEST);
    // The back buffer's alpha is never looked at (read-backs and the window
    // are opaque), so every channel is written: solid draws need not read
    // the pixels under them.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
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

int PowerOfTwo(int v) {
    int p = 1;
    while (p < v) p *= 2;
    return p;
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

// The whole back buffer in one opaque colour, whatever the clip; the
// colour is kept for the bars around the picture.
void ClearBackBuffer(float r, float g, float b) {
    GLState& st = G();
    st.clearR = st.fillR = r;
    st.clearG = st.fillG = g;
    st.clearB = st.fillB = b;
    st.painted = false;
    glDisable(GL_SCISSOR_TEST);
    glClearColor(r, g, b, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
}

// The scaler as an assembly fragment program (with the fixed vertex
// stage): the software renderer builds it without its GLSL compiler, which
// would stay in memory for the whole run.
//
// It reads the colour (white) like the drawing does, so that both share the
// renderer's set-up code.
//
// texcoord[0]: the position in the picture in its own pixels.  Inside a
// pixel the colour is the pixel's; only the outer 1 / (2 prescale) of it on
// each side slides linearly to the half-way mix at the edge.
// local[0] = (1 / width, 1 / height, -, -) of the texture,
// local[1] = (prescale x, prescale y, inner x, inner y), inner = 0.5 - 0.5 / prescale.
const char* const kScalerProgram = R"(!!ARBfp1.0
PARAM texel = program.local[0];
PARAM pre = program.local[1];
TEMP t, base, f, c;
FLR base.xy, fragment.texcoord[0];
SUB f.xy, fragment.texcoord[0], base;
SUB f.xy, f, 0.5;
MAX c.xy, f, -pre.zwzw;
MIN c.xy, c, pre.zwzw;
SUB f.xy, f, c;
MAD f.xy, f, pre, 0.5;
ADD t.xy, base, f;
MUL t.xy, t, texel;
TEX c, t, texture[0], 2D;
MUL result.color, c, fragment.color;
END
)";

// Builds the scaler once per context; false when the driver has no
// fragment programs (the picture is then stretched with plain linear
// sampling).
bool ScalerReady() {
    Scaler& sc = G().scaler;
    if (sc.tried) return sc.program != 0;
    sc.tried = true;
    auto gen = Load<PFNGLGENPROGRAMSARBPROC>("glGenProgramsARB");
    auto source = Load<PFNGLPROGRAMSTRINGARBPROC>("glProgramStringARB");
    sc.bind = Load<PFNGLBINDPROGRAMARBPROC>("glBindProgramARB");
    sc.local = Load<PFNGLPROGRAMLOCALPARAMETER4FARBPROC>("glProgramLocalParameter4fARB");
    sc.deletePrograms = Load<PFNGLDELETEPROGRAMSARBPROC>("glDeleteProgramsARB");
    if (!gen || !source || !sc.bind || !sc.local || !sc.deletePrograms) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint program = 0;
    gen(1, &program);
    sc.bind(GL_FRAGMENT_PROGRAM_ARB, program);
    source(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
           static_cast<GLsizei>(std::strlen(kScalerProgram)), kScalerProgram);
    GLint errorAt = 0;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorAt);
    sc.bind(GL_FRAGMENT_PROGRAM_ARB, 0);
    if (glGetError() != GL_NO_ERROR || errorAt != -1) {
        sc.deletePrograms(1, &program);
        return false;
    }
    sc.program = program;
    return true;
}

// A scale that maps pixels onto whole pixels (mirrored or not).
bool WholeScale(float v) {
    v = std::fabs(v);
    return v >= 1 && std::fabs(v - std::round(v)) < 1e-4f;
}

// Draws the top-left visW x visH pixels of a back-buffer texture (texW x
// texH, rows bottom to top) into the rectangle (x, y, w, h) of the bound
// framebuffer, which is targetW x targetH.  Whole-number scales copy pixels
// (nearest sampling); others go through the scaler.
void DrawPicture(GLuint texture, int texW, int texH, float visW, float visH, float x, float y,
                 float w, float h, int targetW, int targetH) {
    if (visW <= 0 || visH <= 0 || w <= 0 || h <= 0) return;
    GLState& g = G();
    SetupProjection(targetW, targetH);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    const float sx = w / visW, sy = h / visH;
    const bool whole = WholeScale(sx) && WholeScale(sy);
    const bool shader = !whole && ScalerReady();
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLint filter = whole ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    // Texture coordinates in pixels for the scaler, normalised otherwise.
    const float tw = shader ? 1.f : static_cast<float>(texW);
    const float th = shader ? 1.f : static_cast<float>(texH);
    const float u1 = visW / tw;
    const float vTop = static_cast<float>(texH) / th;
    const float vBottom = (static_cast<float>(texH) - visH) / th;
    if (shader) {
        const float px = std::max(1.f, std::floor(sx)), py = std::max(1.f, std::floor(sy));
        glEnable(GL_FRAGMENT_PROGRAM_ARB);
        g.scaler.bind(GL_FRAGMENT_PROGRAM_ARB, g.scaler.program);
        g.scaler.local(GL_FRAGMENT_PROGRAM_ARB, 0, 1.f / static_cast<float>(texW),
                       1.f / static_cast<float>(texH), 0, 0);
        g.scaler.local(GL_FRAGMENT_PROGRAM_ARB, 1, px, py, 0.5f - 0.5f / px, 0.5f - 0.5f / py);
    }
    const Vertex quad[4] = {{x, y, 0, vTop, 0xFFFFFFFFu},
                            {x + w, y, u1, vTop, 0xFFFFFFFFu},
                            {x + w, y + h, u1, vBottom, 0xFFFFFFFFu},
                            {x, y + h, 0, vBottom, 0xFFFFFFFFu}};
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &quad[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &quad[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &quad[0].rgba);
    glDrawArrays(GL_QUADS, 0, 4);
    if (shader) {
        g.scaler.bind(GL_FRAGMENT_PROGRAM_ARB, 0);
        glDisable(GL_FRAGMENT_PROGRAM_ARB);
    }
}

// The picture as the window shows it, into the bound framebuffer of
// targetW x targetH: the back buffer scaled into its letterbox, the bars in
// the colour of the last clear.
void DrawWindowPicture(int targetW, int targetH) {
    GLState& g = G();
    const Letterbox lb = CurrentLetterbox();
    const float visW = std::min(lb.virtualW, static_cast<float>(g.spaceW));
    const float visH = std::min(lb.virtualH, static_cast<float>(g.spaceH));
    const auto x0 = std::lround(lb.offsetX), y0 = std::lround(lb.offsetY);
    const auto x1 = std::lround(lb.offsetX + visW * lb.scale);
    const auto y1 = std::lround(lb.offsetY + visH * lb.scale);
    if (x0 > 0 || y0 > 0 || x1 < targetW || y1 < targetH) {
        // The bars.  A clear of the whole window is the renderer's fast
        // path; clearing only the bars would take a shader of its own.
        glDisable(GL_SCISSOR_TEST);
        glClearColor(g.clearR, g.clearG, g.clearB, 1.f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    const float f = static_cast<float>(g.factor);
    DrawPicture(g.fboTexture, g.width, g.height, visW * f, visH * f, lb.offsetX, lb.offsetY,
                visW * lb.scale, visH * lb.scale, targetW, targetH);
}

bool Drawing() { return G().ready && G().fbo != 0; }

bool CreateBackBuffer(int w, int h, int factor, bool keep);

// A new back buffer, or none at all when the driver refuses it.
void ResizeBackBuffer(int w, int h, int factor, bool keep) {
    if (!CreateBackBuffer(w, h, factor, keep)) G().ready = false;
}

// Before a picture is drawn through m with (stretchX, stretchY) virtual
// units per texel: when that scales it by a fraction or turns it, the back
// buffer goes to its fine resolution (keeping what it holds).
void CheckFine(const Affine& m, float stretchX, float stretchY) {
    if (m.b == 0 && m.c == 0 && WholeScale(m.a * stretchX) && WholeScale(m.d * stretchY)) return;
    GLState& g = G();
    g.fineSinceClear = true;
    if (g.factor < g.fineFactor) ResizeBackBuffer(g.spaceW, g.spaceH, g.fineFactor, true);
}

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
    g.painted = true;
    g.batch.clear();
}

void FlushIfUsing(GLuint id) {
    GLState& g = G();
    if (!g.batch.empty() && g.batchTexture == id) FlushBatch();
    if (g.boundTexture == id) g.boundTexture = 0;
}

// A texture of w x h with a framebuffer drawing into it; false when the
// driver refuses the pair (nothing is left behind then).
bool MakeTarget(int w, int h, GLuint& texture, GLuint& fbo) {
    GLState& g = G();
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    DefineBoundTexture(w, h, false, nullptr);
    g.genFramebuffers(1, &fbo);
    g.bindFramebuffer(GL_FRAMEBUFFER, fbo);
    g.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    if (g.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return true;
    g.deleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &texture);
    texture = fbo = 0;
    return false;
}

void DestroyBackBuffer() {
    GLState& g = G();
    if (g.fbo) g.deleteFramebuffers(1, &g.fbo);
    if (g.fboTexture) glDeleteTextures(1, &g.fboTexture);
    g.fbo = g.fboTexture = 0;
}

// A back buffer for the drawing space w x h at `factor` pixels per virtual
// pixel.  With `keep`, what the old one held is carried over, fitted with
// its aspect kept, so that a panel drawn in another drawing space or
// resolution still shows over the last frame.
bool CreateBackBuffer(int w, int h, int factor, bool keep) {
    GLState& g = G();
    FlushBatch();
    GLuint texture = 0, fbo = 0;
    const int pw = w * factor, ph = h * factor;
    if (!MakeTarget(pw, ph, texture, fbo)) {
        DestroyBackBuffer();
        return false;
    }
    // A buffer that holds nothing but a clear is cleared again in its
    // colour: there is nothing to scale.  The bars keep their colour.
    const bool carry = keep && g.fbo && g.painted;
    const bool refill = keep && g.fbo;
    const float barsR = g.clearR, barsG = g.clearG, barsB = g.clearB;
    ClearBackBuffer(refill ? g.fillR : 0, refill ? g.fillG : 0, refill ? g.fillB : 0);
    g.clearR = barsR;
    g.clearG = barsG;
    g.clearB = barsB;
    if (carry) {
        g.painted = true;
        const float ow = static_cast<float>(g.width), oh = static_cast<float>(g.height);
        const float s = std::min(static_cast<float>(pw) / ow, static_cast<float>(ph) / oh);
        DrawPicture(g.fboTexture, g.width, g.height, ow, oh,
                    std::floor((static_cast<float>(pw) - ow * s) / 2),
                    std::floor((static_cast<float>(ph) - oh * s) / 2), ow * s, oh * s, pw, ph);
    }
    DestroyBackBuffer();
    g.fbo = fbo;
    g.fboTexture = texture;
    g.spaceW = w;
    g.spaceH = h;
    g.factor = factor;
    g.width = pw;
    g.height = ph;
    g.clipValid = false;
    SetupDrawingState();
    return true;
}

// The viewport limited to the drawing space.
Clip ClipFor(const DrawState& s) {
    GLState& g = G();
    const Clip viewport{s.vpX, s.vpY, s.vpW, s.vpH};
    if (g.clipValid && g.clipViewport == viewport) return g.clip;
    const int x0 = std::max(s.vpX, 0), y0 = std::max(s.vpY, 0);
    const int x1 = std::min(s.vpX + s.vpW, g.spaceW), y1 = std::min(s.vpY + s.vpH, g.spaceH);
    g.clipViewport = viewport;
    g.clip = Clip{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
    g.clipValid = true;
    return g.clip;
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

// Virtual coordinates are the back buffer's pixels.  A quad half-way
// between pixels would put the pixel centres exactly on its edges and on
// the borders between its texels, where the rasteriser and the sampler may
// each round either way (losing a row of a picture and showing one from
// beyond it); a 1/64-pixel nudge up and left settles every such tie the same
// way and moves nothing else by a whole pixel.
void PushQuad(const float (&vx)[4], const float (&vy)[4], float u0, float v0, float u1, float v1,
              std::uint32_t rgba) {
    constexpr float kNudge = 1.0f / 64;
    auto& b = G().batch;
    const std::size_t n = b.size();
    b.resize(n + 4);
    Vertex* v = b.data() + n;
    v[0] = Vertex{vx[0] - kNudge, vy[0] - kNudge, u0, v0, rgba};
    v[1] = Vertex{vx[1] - kNudge, vy[1] - kNudge, u1, v0, rgba};
    v[2] = Vertex{vx[2] - kNudge, vy[2] - kNudge, u1, v1, rgba};
    v[3] = Vertex{vx[3] - kNudge, vy[3] - kNudge, u0, v1, rgba};
}

// A local rectangle (lx, ly, w, h) through m, textured with (u0, v0)-(u1, v1).
void PushLocalRect(const Affine& m, float lx, float ly, float w, float h, float u0, float v0,
                   float u1, float v1, std::uint32_t rgba) {
    float vx[4], vy[4];
    m.Apply(lx, ly, vx[0], vy[0]);
    m.Apply(lx + w, ly, vx[1], vy[1]);
    m.Apply(lx + w, ly + h, vx[2], vy[2]);
    m.Apply(lx, ly + h, vx[3], vy[3]);
    PushQuad(vx, vy, u0, v0, u1, v1, rgba);
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

// Slots by the size of the pictures they take (8, 16 or 32 pixels and a
// border), on pages of 512 x 512: the tiles of a map share one page.
constexpr int kSlotSizes[] = {10, 18, 34};
constexpr int kSlotPageSide = 512;

// The slot size for a picture of cw x ch with its border; 0 when too big.
int SlotSizeFor(int cw, int ch) {
    for (int size : kSlotSizes)
        if (cw <= size && ch <= size) return size;
    return 0;
}

std::shared_ptr<FrameTexture> AllocSlot(bool filtered, int slotSize) {
    GLState& g = G();
    std::shared_ptr<SlotPage> page;
    for (auto& p : g.slotPages)
        if (p->filtered == filtered && p->slotSize == slotSize && !p->freeSlots.empty()) {
            page = p;
            break;
        }
    const int perRow = kSlotPageSide / slotSize;
    if (!page) {
        page = std::make_shared<SlotPage>();
        page->filtered = filtered;
        page->slotSize = slotSize;
        page->texture = MakeTexture(kSlotPageSide, kSlotPageSide, filtered, nullptr);
        for (int i = perRow * perRow - 1; i >= 0; --i) page->freeSlots.push_back(i);
        g.slotPages.push_back(page);
    }
    auto ft = std::make_shared<FrameTexture>();
    ft->slot = page->freeSlots.back();
    page->freeSlots.pop_back();
    ft->page = page;
    ft->texture = page->texture;
    ft->cellX = (ft->slot % perRow) * slotSize + 1;
    ft->cellY = (ft->slot / perRow) * slotSize + 1;
    return ft;
}

void BuildPages(TImage& image) {
    const int n = image.Frames();
    const int cw = image.width + 2, ch = image.height + 2;
    const int maxT = G().maxTexture;
    image.textures.assign(static_cast<std::size_t>(n), nullptr);
    image.dirty.assign(static_cast<std::size_t>(n), true);
    if (const int slotSize = SlotSizeFor(cw, ch); n == 1 && slotSize > 0) {
        image.textures[0] = AllocSlot((image.flags & FILTEREDIMAGE) != 0, slotSize);
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
        auto page = MakeTexture(PowerOfTwo(pcols * cw), PowerOfTwo(prows * ch), filtered, nullptr);
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
        GLState& g = G();
        // A frame after one without fine pictures goes back to one pixel
        // per virtual pixel: nothing of the old content is needed.
        if (g.factor > 1 && !g.fineSinceClear) ResizeBackBuffer(g.spaceW, g.spaceH, 1, false);
        g.fineSinceClear = false;
        if (!Drawing()) return;
        FlushBatch();
        ClearBackBuffer(static_cast<float>(s.clsR) / 255.f, static_cast<float>(s.clsG) / 255.f,
                        static_cast<float>(s.clsB) / 255.f);
    }

    void Plot(const DrawState& s, float x, float y) override {
        if (!Begin(s, WhiteTexture())) return;
        const float px = s.originX + x, py = s.originY + y;
        const float vx[4] = {px, px + 1, px + 1, px};
        const float vy[4] = {py, py, py + 1, py + 1};
        PushQuad(vx, vy, 0, 0, 1, 1, PackColor(s, s.alpha));
    }

    void Line(const DrawState& s, float x1, float y1, float x2, float y2, bool lastPixel) override {
        if (!Begin(s, WhiteTexture())) return;
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
        PushQuad(vx, vy, 0, 0, 1, 1, PackColor(s, s.alpha));
    }

    void Rect(const DrawState& s, float x, float y, float w, float h) override {
        if (!Begin(s, WhiteTexture())) return;
        const Affine m = LocalToVirtual(s, x, y, s.handleX, s.handleY);
        PushLocalRect(m, 0, 0, w, h, 0, 0, 1, 1, PackColor(s, s.alpha));
    }

    void Oval(const DrawState& s, float x, float y, float w, float h) override {
        if (!Begin(s, WhiteTexture())) return;
        const Affine m = LocalToVirtual(s, x, y, s.handleX, s.handleY);
        const float rx = w / 2, ry = h / 2;
        const float devR = (std::fabs(rx * s.scaleX) + std::fabs(ry * s.scaleY)) *
                           static_cast<float>(G().factor);
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
            PushQuad(vx, vy, 0, 0, 1, 1, c);
            px = qx;
            py = qy;
        }
    }

    void Image(const DrawState& s, TImage& image, int frame, float x, float y, float w, float h,
               float sx, float sy, float sw, float sh, float hx, float hy) override {
        if (!Drawing()) return;
        const FrameTexture* ft = Prepare(image, frame);
        if (!ft) return;
        const Affine m = LocalToVirtual(s, x, y, hx, hy);
        CheckFine(m, sw > 0 ? w / sw : 1, sh > 0 ? h / sh : 1);
        if (!Drawing() || !Begin(s, ft->texture->id)) return;
        const float tw = static_cast<float>(ft->texture->width);
        const float th = static_cast<float>(ft->texture->height);
        const float cx = static_cast<float>(ft->cellX), cy = static_cast<float>(ft->cellY);
        PushLocalRect(m, 0, 0, w, h, (cx + sx) / tw, (cy + sy) / th, (cx + sx + sw) / tw,
                      (cy + sy + sh) / th, PackColor(s, s.alpha));
    }

    void Text(const DrawState& st, TImageFont& font, const std::string& text, float x,
              float y) override {
        if (!Drawing()) return;
        // Solid text shows its glyphs, not the boxes around them.
        DrawState s = st;
        if (s.blend == SOLIDBLEND) s.blend = MASKBLEND;
        const Affine m = LocalToVirtual(s, x, y, s.handleX, s.handleY);
        CheckFine(m, 1, 1);
        if (!Drawing()) return;
        const Clip all = ClipFor(s);
        if (all.w <= 0 || all.h <= 0) return;
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
                    PushLocalRect(m, pen + static_cast<float>(gl.x),
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
    g.spaceW = g.spaceH = g.width = g.height = 0;
    g.factor = g.fineFactor = 1;
    g.fineSinceClear = false;
    g.clearR = g.clearG = g.clearB = 0;
    g.fillR = g.fillG = g.fillB = 0;
    g.painted = false;
    g.scaler = Scaler{};
    g.slotPages.clear();
    g.clipValid = false;
}

void GLContextDestroying() {
    GLState& g = G();
    g.batch.clear();
    g.slotPages.clear();
    g.clipValid = false;
    if (g.ready) DestroyBackBuffer();
    if (g.scaler.program) g.scaler.deletePrograms(1, &g.scaler.program);
    g.scaler = Scaler{};
    g.white.reset();
    g.ready = false;
}

void GLSetDrawingSpace(int width, int height, int fineFactor) {
    GLState& g = G();
    if (!g.ready) return;
    width = std::clamp(width, 1, g.maxTexture);
    height = std::clamp(height, 1, g.maxTexture);
    g.fineFactor = std::clamp(fineFactor, 1, std::max(1, g.maxTexture / std::max(width, height)));
    const int factor = g.factor > 1 ? g.fineFactor : 1;
    if (g.fbo && g.spaceW == width && g.spaceH == height && g.factor == factor) return;
    ResizeBackBuffer(width, height, factor, true);
}

void GLFlush() {
    if (Drawing()) FlushBatch();
}

void GLForgetState() {
    if (Drawing()) SetupDrawingState();
}

void GLPresent(int width, int height) {
    GLState& g = G();
    if (!Drawing()) return;
    FlushBatch();
    g.bindFramebuffer(GL_FRAMEBUFFER, 0);
    DrawWindowPicture(width, height);
    SetupDrawingState();
}

namespace {

// Rows y0 .. y0 + h (counted from the top) of the bound framebuffer, which
// is targetH high, as an opaque pixmap.
Ref<TPixmap> ReadRows(int x0, int y0, int w, int h, int targetH) {
    auto p = New<TPixmap>(std::max(0, w), std::max(0, h), PF_RGBA8888);
    if (p->width == 0 || p->height == 0) return p;
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(p->width) *
                                    static_cast<std::size_t>(p->height));
    glReadPixels(x0, targetH - y0 - h, p->width, p->height, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    for (int r = 0; r < p->height; ++r) {
        const std::uint32_t* src =
            rows.data() + static_cast<std::size_t>(p->height - 1 - r) * static_cast<std::size_t>(p->width);
        std::uint32_t* dst =
            p->pixels.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(p->width);
        for (int c = 0; c < p->width; ++c) dst[c] = src[c] | 0xFF000000u;
    }
    return p;
}

}  // namespace

Ref<TPixmap> GLReadBack(int x, int y, int w, int h) {
    GLState& g = G();
    if (!Drawing()) return nullptr;
    FlushBatch();
    const int x0 = std::clamp(x, 0, g.spaceW), y0 = std::clamp(y, 0, g.spaceH);
    const int x1 = std::clamp(x + w, 0, g.spaceW), y1 = std::clamp(y + h, 0, g.spaceH);
    const int f = g.factor;
    auto rows = ReadRows(x0 * f, y0 * f, (x1 - x0) * f, (y1 - y0) * f, g.height);
    if (f == 1) return rows;
    // One sample per virtual pixel, from the middle of its block.
    auto p = New<TPixmap>(x1 - x0, y1 - y0, PF_RGBA8888);
    for (int j = 0; j < p->height; ++j)
        for (int i = 0; i < p->width; ++i) p->Write(i, j, rows->Read(i * f + f / 2, j * f + f / 2));
    return p;
}

Ref<TPixmap> GLReadWindowPicture(int width, int height) {
    GLState& g = G();
    if (!Drawing() || width <= 0 || height <= 0) return nullptr;
    FlushBatch();
    GLuint texture = 0, fbo = 0;
    Ref<TPixmap> p;
    if (MakeTarget(width, height, texture, fbo)) {
        DrawWindowPicture(width, height);
        p = ReadRows(0, 0, width, height, height);
        g.deleteFramebuffers(1, &fbo);
        glDeleteTextures(1, &texture);
    }
    SetupDrawingState();
    return p;
}

void GLPrepareFrame(TImage& image, int frame) { Prepare(image, frame); }

}  // namespace gfx
}  // namespace plat
