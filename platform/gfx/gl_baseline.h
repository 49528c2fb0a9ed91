#pragma once
// The yardstick for the drawing layer's speed: the simplest hand-batched GL
// loop that draws the same quads (one vertex array per texture, no state
// tracking, no per-draw checks).  Only the benchmarks use it; it draws into
// the open display's back buffer.

#include <cstdint>
#include <memory>

#include "platform/gfx/pixmap.h"

namespace plat::bench {

class GLBaseline {
public:
    GLBaseline();
    ~GLBaseline();
    GLBaseline(const GLBaseline&) = delete;
    GLBaseline& operator=(const GLBaseline&) = delete;

    // A texture of equal cells side by side; returns its number.
    int AddAtlas(const Ref<TPixmap>& cells, int cellWidth, int cellHeight, bool solid);
    void Clear();
    // Virtual coordinates; rgba as bytes r, g, b, a in memory order.
    void Cell(int atlas, int cell, float x, float y, std::uint32_t rgba = 0xFFFFFFFFu);
    void Rect(float x, float y, float w, float h, std::uint32_t rgba);
    // Draws what was queued, in the order the textures were first used.
    void Draw();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The floor under a frame: clears the window itself (not the back buffer)
// and swaps, without vertical sync; the layer's drawing state comes back.
void ClearAndSwapWindow();

// Waits until the GPU has finished every queued command.
void FinishGL();

}  // namespace plat::bench
