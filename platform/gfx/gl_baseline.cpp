// The minimal GL loop the benchmarks compare the layer against.

#include "platform/gfx/gl_baseline.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace plat::bench {

struct GLBaseline::Impl {
    struct Vtx {
        float x, y, u, v;
        std::uint32_t rgba;
    };
    struct Atlas {
        GLuint tex = 0;
        int cellW = 0, cellH = 0, cells = 0, texW = 0, texH = 0;
        bool solid = false;
        std::vector<Vtx> verts;
    };
    std::vector<Atlas> atlases;
    std::vector<int> order;  // atlases in first-use order this frame

    void Use(int a) {
        if (atlases[static_cast<std::size_t>(a)].verts.empty()) order.push_back(a);
    }
    void Push(Atlas& at, float x, float y, float w, float h, float u0, float v0, float u1,
              float v1, std::uint32_t c) {
        // The back buffer is the drawing space: virtual units are its pixels.
        const float x0 = x, y0 = y, x1 = x + w, y1 = y + h;
        at.verts.push_back({x0, y0, u0, v0, c});
        at.verts.push_back({x1, y0, u1, v0, c});
        at.verts.push_back({x1, y1, u1, v1, c});
        at.verts.push_back({x0, y1, u0, v1, c});
    }
};

GLBaseline::GLBaseline() : impl_(std::make_unique<Impl>()) {
    // Atlas 0: one white texel for rectangles.
    auto white = CreatePixmap(1, 1);
    white->Write(0, 0, 0xFFFFFFFFu);
    AddAtlas(white, 1, 1, false);
}

GLBaseline::~GLBaseline() {
    if (!gfx::ContextReady()) return;
    for (auto& a : impl_->atlases) glDeleteTextures(1, &a.tex);
}

int GLBaseline::AddAtlas(const Ref<TPixmap>& cells, int cellWidth, int cellHeight, bool solid) {
    Impl::Atlas a;
    a.cellW = cellWidth;
    a.cellH = cellHeight;
    a.texW = cells->width;
    a.texH = cells->height;
    a.cells = cellWidth > 0 ? cells->width / cellWidth : 0;
    a.solid = solid;
    glGenTextures(1, &a.tex);
    glBindTexture(GL_TEXTURE_2D, a.tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, a.texW, a.texH, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 cells->pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    impl_->atlases.push_back(std::move(a));
    return static_cast<int>(impl_->atlases.size()) - 1;
}

void GLBaseline::Clear() {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void GLBaseline::Cell(int atlas, int cell, float x, float y, std::uint32_t rgba) {
    impl_->Use(atlas);
    auto& a = impl_->atlases[static_cast<std::size_t>(atlas)];
    const float tw = static_cast<float>(a.texW), th = static_cast<float>(a.texH);
    const float u0 = static_cast<float>(cell * a.cellW) / tw;
    const float u1 = static_cast<float>((cell + 1) * a.cellW) / tw;
    impl_->Push(a, x, y, static_cast<float>(a.cellW), static_cast<float>(a.cellH), u0, 0, u1,
                static_cast<float>(a.cellH) / th, rgba);
}

void GLBaseline::Rect(float x, float y, float w, float h, std::uint32_t rgba) {
    impl_->Use(0);
    impl_->Push(impl_->atlases[0], x, y, w, h, 0, 0, 1, 1, rgba);
}

void GLBaseline::Draw() {
    glEnable(GL_TEXTURE_2D);
    for (int i : impl_->order) {
        auto& a = impl_->atlases[static_cast<std::size_t>(i)];
        if (a.solid) {
            glDisable(GL_BLEND);
        } else {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        glBindTexture(GL_TEXTURE_2D, a.tex);
        glVertexPointer(2, GL_FLOAT, sizeof(Impl::Vtx), &a.verts[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Impl::Vtx), &a.verts[0].u);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Impl::Vtx), &a.verts[0].rgba);
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(a.verts.size()));
        a.verts.clear();
    }
    impl_->order.clear();
    gfx::GLForgetState();
}

void ClearAndSwapWindow() {
    gfx::GLFlush();
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    auto bindFramebuffer =
        reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    if (!window || !bindFramebuffer) return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    bindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, w, h);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SetSwapInterval(0);
    SDL_GL_SwapWindow(window);
    // Without a window system to present to, the swap alone may leave the
    // clear undone.
    glFinish();
    gfx::GLForgetState();
}

void FinishGL() {
    gfx::GLFlush();
    if (gfx::ContextReady()) glFinish();
}

}  // namespace plat::bench
