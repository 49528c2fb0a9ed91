// Collision layers: shapes written into up to 32 layers and tested pixel by
// pixel (opaque texels, alpha >= 0.5) in virtual coordinates, under the same
// placement as drawing.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/gfx/draw.h"
#include "platform/gfx/gfx_internal.h"

namespace plat {
namespace {

struct Shape {
    Ref<TImage> image;  // nullptr: a solid rectangle
    int frame = 0;
    float w = 0, h = 0;
    gfx::Affine inverse;  // virtual -> local
    float minX = 0, minY = 0, maxX = 0, maxY = 0;  // bounds, virtual
    Ref<Object> id;

    bool Opaque(float vx, float vy) const {
        float lx, ly;
        inverse.Apply(vx, vy, lx, ly);
        if (lx < 0 || ly < 0 || lx >= w || ly >= h) return false;
        if (!image) return true;
        const auto& p = *image->pixmaps[static_cast<std::size_t>(frame)];
        return (p.Read(static_cast<int>(lx), static_cast<int>(ly)) >> 24) >= 0x80;
    }
};

std::array<std::vector<Shape>, 32>& Layers() {
    static std::array<std::vector<Shape>, 32> layers;
    return layers;
}

Shape MakeShape(const gfx::Affine& m, float w, float h) {
    Shape s;
    s.w = w;
    s.h = h;
    const float det = m.a * m.d - m.b * m.c;
    if (std::fabs(det) > 1e-12f) {
        s.inverse.a = m.d / det;
        s.inverse.b = -m.b / det;
        s.inverse.c = -m.c / det;
        s.inverse.d = m.a / det;
        s.inverse.tx = -(s.inverse.a * m.tx + s.inverse.b * m.ty);
        s.inverse.ty = -(s.inverse.c * m.tx + s.inverse.d * m.ty);
    } else {
        s.w = s.h = 0;  // flattened to nothing: never hits
    }
    const float xs[4] = {0, w, w, 0}, ys[4] = {0, 0, h, h};
    s.minX = s.minY = 1e30f;
    s.maxX = s.maxY = -1e30f;
    for (int i = 0; i < 4; ++i) {
        float vx, vy;
        m.Apply(xs[i], ys[i], vx, vy);
        s.minX = std::min(s.minX, vx);
        s.maxX = std::max(s.maxX, vx);
        s.minY = std::min(s.minY, vy);
        s.maxY = std::max(s.maxY, vy);
    }
    return s;
}

bool Overlap(const Shape& a, const Shape& b) {
    const float x0 = std::max(a.minX, b.minX), x1 = std::min(a.maxX, b.maxX);
    const float y0 = std::max(a.minY, b.minY), y1 = std::min(a.maxY, b.maxY);
    if (x0 >= x1 || y0 >= y1) return false;
    // Sampled at virtual pixel centres.
    for (float y = std::floor(y0) + 0.5f; y < y1; y += 1)
        for (float x = std::floor(x0) + 0.5f; x < x1; x += 1)
            if (a.Opaque(x, y) && b.Opaque(x, y)) return true;
    return false;
}

std::vector<Ref<Object>> Collide(Shape shape, unsigned testMask, unsigned writeMask,
                                 const Ref<Object>& id) {
    std::vector<Ref<Object>> hits;
    auto& layers = Layers();
    for (int l = 0; l < 32; ++l) {
        if (!(testMask & (1u << l))) continue;
        for (const Shape& other : layers[static_cast<std::size_t>(l)])
            if (Overlap(shape, other)) {
                // One entry per object hit, even when several of its
                // shapes are touched.
                if (std::find(hits.begin(), hits.end(), other.id) == hits.end())
                    hits.push_back(other.id);
            }
    }
    shape.id = id;
    for (int l = 0; l < 32; ++l)
        if (writeMask & (1u << l)) layers[static_cast<std::size_t>(l)].push_back(shape);
    return hits;
}

}  // namespace

std::vector<Ref<Object>> CollideImage(const Ref<TImage>& image, float x, float y, int frame,
                                      unsigned testMask, unsigned writeMask,
                                      const Ref<Object>& id) {
    if (!image || !image->HasFrame(frame)) return {};
    const auto& st = gfx::State();
    Shape s = MakeShape(gfx::LocalToVirtual(st, x, y, image->handleX, image->handleY),
                        static_cast<float>(image->width), static_cast<float>(image->height));
    s.image = image;
    s.frame = frame;
    return Collide(std::move(s), testMask, writeMask, id);
}

std::vector<Ref<Object>> CollideRect(float x, float y, float w, float h, unsigned testMask,
                                     unsigned writeMask, const Ref<Object>& id) {
    const auto& st = gfx::State();
    Shape s = MakeShape(gfx::LocalToVirtual(st, x, y, st.handleX, st.handleY), w, h);
    return Collide(std::move(s), testMask, writeMask, id);
}

void ResetCollisions(unsigned mask) {
    auto& layers = Layers();
    for (int l = 0; l < 32; ++l)
        if (mask == 0 || (mask & (1u << l))) layers[static_cast<std::size_t>(l)].clear();
}

}  // namespace plat
