// The recording back end: logs each drawing call with the state it was made
// in, without GL or a window, so drawing logic can be tested directly.

#include <vector>

#include "platform/gfx/draw.h"
#include "platform/gfx/gfx_internal.h"

namespace plat {
namespace gfx {
namespace {

class Recorder final : public Renderer {
public:
    bool active = false;
    std::vector<DrawRecord> calls;

    void Cls(const DrawState& s) override { calls.push_back(Make(s, DrawRecord::CLS)); }

    void Plot(const DrawState& s, float x, float y) override {
        DrawRecord r = Make(s, DrawRecord::PLOT);
        r.x = x;
        r.y = y;
        calls.push_back(r);
    }

    void Line(const DrawState& s, float x1, float y1, float x2, float y2, bool lastPixel) override {
        DrawRecord r = Make(s, DrawRecord::LINE);
        r.x = x1;
        r.y = y1;
        r.x2 = x2;
        r.y2 = y2;
        r.frame = lastPixel ? 1 : 0;
        calls.push_back(r);
    }

    void Rect(const DrawState& s, float x, float y, float w, float h) override {
        calls.push_back(Box(s, DrawRecord::RECT, x, y, w, h));
    }

    void Oval(const DrawState& s, float x, float y, float w, float h) override {
        calls.push_back(Box(s, DrawRecord::OVAL, x, y, w, h));
    }

    void Image(const DrawState& s, TImage& image, int frame, float x, float y, float w, float h,
               float sx, float sy, float sw, float sh, float hx, float hy) override {
        DrawRecord r = Box(s, DrawRecord::IMAGE, x, y, w, h);
        r.sx = sx;
        r.sy = sy;
        r.sw = sw;
        r.sh = sh;
        r.hx = hx;
        r.hy = hy;
        r.image = &image;
        r.frame = frame;
        calls.push_back(r);
    }

    void Text(const DrawState& s, TImageFont& font, const std::string& text, float x,
              float y) override {
        DrawRecord r = Make(s, DrawRecord::TEXT);
        r.x = x;
        r.y = y;
        r.w = font.TextWidth(text) * s.scaleX;
        r.h = static_cast<float>(font.Height()) * s.scaleY;
        r.hx = s.handleX;
        r.hy = s.handleY;
        r.text = text;
        calls.push_back(r);
    }

private:
    static DrawRecord Make(const DrawState& s, DrawRecord::Kind kind) {
        DrawRecord r;
        r.kind = kind;
        r.r = s.r;
        r.g = s.g;
        r.b = s.b;
        r.alpha = s.alpha;
        r.blend = s.blend;
        r.scaleX = s.scaleX;
        r.scaleY = s.scaleY;
        r.rotation = s.rotation;
        r.originX = s.originX;
        r.originY = s.originY;
        r.vpX = s.vpX;
        r.vpY = s.vpY;
        r.vpW = s.vpW;
        r.vpH = s.vpH;
        return r;
    }

    static DrawRecord Box(const DrawState& s, DrawRecord::Kind kind, float x, float y, float w,
                          float h) {
        DrawRecord r = Make(s, kind);
        r.x = x;
        r.y = y;
        r.w = w;
        r.h = h;
        r.hx = s.handleX;
        r.hy = s.handleY;
        return r;
    }
};

Recorder& Rec() {
    static Recorder r;
    return r;
}

}  // namespace

Renderer* RecorderIfActive() { return Rec().active ? &Rec() : nullptr; }

}  // namespace gfx

void StartRecording() {
    gfx::GLFlush();
    gfx::Rec().active = true;
}

void StopRecording() { gfx::Rec().active = false; }
bool IsRecording() { return gfx::Rec().active; }
const std::vector<DrawRecord>& RecordedCalls() { return gfx::Rec().calls; }
void ClearRecordedCalls() { gfx::Rec().calls.clear(); }

}  // namespace plat
