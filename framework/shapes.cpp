#include "framework/shapes.h"

#include <algorithm>
#include <cmath>

#include "framework/drawing.h"
#include "platform/gfx/draw.h"

namespace fw {

// --- TColor --------------------------------------------------------------------

plat::Ref<TColor> TColor::Create(int r, int g, int b, float alpha) {
    auto c = plat::New<TColor>();
    c->Set(r, g, b, alpha);
    return c;
}

void TColor::Apply() const {
    plat::SetColor(R, G, B);
    plat::SetAlpha(Alpha);
}

void TColor::ApplyNoAlpha() const { plat::SetColor(R, G, B); }

void TColor::Restore() {
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
}

void TColor::Set(int r, int g, int b, float alpha) {
    R = r;
    G = g;
    B = b;
    Alpha = alpha;
}

void TColor::Copy(const TColor& from) { Set(from.R, from.G, from.B, from.Alpha); }

void TColor::Get(int& r, int& g, int& b) const {
    r = R;
    g = G;
    b = B;
}

void TColor::GetFull(int& r, int& g, int& b, float& alpha) const {
    Get(r, g, b);
    alpha = Alpha;
}

// --- TShadow -------------------------------------------------------------------

plat::Ref<TShadow> TShadow::Create(float x, float y, float alpha) {
    auto s = plat::New<TShadow>();
    s->Init(x, y, alpha);
    return s;
}

void TShadow::Init(float x, float y, float alpha) {
    X = x;
    Y = y;
    Alpha = alpha;
}

void TShadow::Copy(const TShadow& from) { Init(from.X, from.Y, from.Alpha); }

void TShadow::ApplyToText() const { SetShadowStyle(X, Y, Alpha); }

void TShadow::Apply() const {
    plat::SetColor(0, 0, 0);
    plat::SetAlpha(Alpha);
}

void TShadow::Restore() { TColor::Restore(); }

// --- shapes --------------------------------------------------------------------

plat::Ref<TBox> TBox::Create(float x, float y, float w, float h, const plat::Ref<TColor>& color) {
    auto box = plat::New<TBox>();
    box->Init(x, y, w, h, color);
    return box;
}

void TBox::Init(float x, float y, float w, float h, const plat::Ref<TColor>& color) {
    X = x;
    Y = y;
    W = w;
    H = h;
    Color = color;
}

void TBox::Draw() const {
    if (!Color) return;
    Color->Apply();
    plat::DrawRect(X, Y, W, H);
    TColor::Restore();
}

void TBox::Kill() { Color = nullptr; }

plat::Ref<TCircle> TCircle::Create(int x, int y, int r, const plat::Ref<TColor>& color) {
    auto c = plat::New<TCircle>();
    c->x = static_cast<float>(x);
    c->y = static_cast<float>(y);
    c->r = static_cast<float>(r);
    c->Color = color;
    return c;
}

void TCircle::Draw() const {
    if (Color) Color->Apply();
    plat::DrawOval(x - r, y - r, 2 * r, 2 * r);
    if (Color) TColor::Restore();
}

// --- TVector -------------------------------------------------------------------

plat::Ref<TVector> TVector::Create(double x, double y) {
    auto v = plat::New<TVector>();
    v->x = x;
    v->y = y;
    return v;
}

plat::Ref<TVector> TVector::CreateFromPoints(double x1, double y1, double x2, double y2) {
    return Create(x2 - x1, y2 - y1);
}

plat::Ref<TVector> TVector::CreateFromVectorsAdded(const TVector& a, const TVector& b) {
    return Create(a.x + b.x, a.y + b.y);
}

plat::Ref<TVector> TVector::CreateFromVectorScaled(const TVector& v, double s) {
    return Create(v.x * s, v.y * s);
}

plat::Ref<TVector> TVector::CreateFromVectorsSubtracted(const TVector& a, const TVector& b) {
    return Create(b.x - a.x, b.y - a.y);
}

void TVector::AddVector(const TVector& v) {
    x += v.x;
    y += v.y;
}

void TVector::SubtractVector(const TVector& v) {
    x -= v.x;
    y -= v.y;
}

void TVector::Multiply(double s) {
    x *= s;
    y *= s;
}

void TVector::Scale(double s) { Multiply(s); }

void TVector::Reverse() {
    x = -x;
    y = -y;
}

double TVector::CalcLength() const { return std::sqrt(x * x + y * y); }

double TVector::CalcSlope() const { return y / x; }

plat::Ref<TVector> TVector::CalcNormal() const { return Create(-y, x); }

double TVector::DotProduct(const TVector& v) const { return x * v.x + y * v.y; }

plat::Ref<TVector> TVector::CreateCopy() const { return Create(x, y); }

void TVector::CopyFrom(const TVector& v) {
    x = v.x;
    y = v.y;
}

void TVector::Normalise() {
    const double length = CalcLength();
    if (!(length > 0)) return;
    x /= length;
    y /= length;
}

void TVector::Rotate(double angle) {
    const double a = angle * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double nx = x * c - y * s;
    const double ny = x * s + y * c;
    x = nx;
    y = ny;
}

void TVector::Rebound(const TVector& wall) {
    const plat::Ref<TVector> n = wall.CalcNormal();
    if (!(n->CalcLength() > 0)) return;
    n->Normalise();
    const double d = 2 * n->DotProduct(*this);
    x -= d * n->x;
    y -= d * n->y;
}

void TVector::Draw(double px, double py, bool lastPixel) const {
    plat::DrawLine(static_cast<float>(px), static_cast<float>(py), static_cast<float>(px + x),
                   static_cast<float>(py + y), lastPixel);
}

// --- TLine ---------------------------------------------------------------------

plat::Ref<TLine> TLine::Create(double sx, double sy, double ex, double ey) {
    auto line = plat::New<TLine>();
    line->sx = sx;
    line->sy = sy;
    line->ex = ex;
    line->ey = ey;
    return line;
}

plat::Ref<TLine> TLine::CreateFromVector(double x, double y, const TVector& v) {
    return Create(x, y, x + v.x, y + v.y);
}

double TLine::CalcLength() {
    length = std::sqrt((ex - sx) * (ex - sx) + (ey - sy) * (ey - sy));
    return length;
}

double TLine::CalcSlope() const { return (ey - sy) / (ex - sx); }

void TLine::Draw(bool lastPixel) const {
    if (Color) Color->Apply();
    plat::DrawLine(static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(ex),
                   static_cast<float>(ey), lastPixel);
    if (Color) TColor::Restore();
}

plat::Ref<TVector> TLine::GetVector() const { return TVector::Create(ex - sx, ey - sy); }

void TLine::SetFromVector(const TVector& v, int x, int y) {
    sx = x;
    sy = y;
    ex = sx + v.x;
    ey = sy + v.y;
}

// --- geometry ------------------------------------------------------------------

double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }

double LegFromHypotenuse(double hypotenuse, double leg) {
    return std::sqrt(hypotenuse * hypotenuse - leg * leg);
}

int SegmentCircleOverlap(double x1, double y1, double x2, double y2, double cx, double cy,
                         double radius) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((cx - x1) * dx + (cy - y1) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = x1 + t * dx, py = y1 + t * dy;
    return Distance(px, py, cx, cy) < radius ? 1 : 0;
}

int PointInQuad(double px, double py, double x1, double y1, double x2, double y2, double x3,
                double y3, double x4, double y4) {
    const double xs[4] = {x1, x2, x3, x4}, ys[4] = {y1, y2, y3, y4};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const double cross = (xs[j] - xs[i]) * (py - ys[i]) - (ys[j] - ys[i]) * (px - xs[i]);
        if (!(cross > 0)) return 0;
    }
    return 1;
}

int RectsIntersect(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                   double h2) {
    return (x1 < x2 + w2 && x2 < x1 + w1 && y1 < y2 + h2 && y2 < y1 + h1) ? 1 : 0;
}

void BezierPoint(double sx, double sy, double ex, double ey, double c1x, double c1y, double c2x,
                 double c2y, double t, double& outX, double& outY) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * t * u * u, c = 3 * t * t * u, d = t * t * t;
    outX = a * sx + b * c1x + c * c2x + d * ex;
    outY = a * sy + b * c1y + c * c2y + d * ey;
}

int CircleLineOverlap(const TCircle& circle, const TLine& line) {
    return SegmentCircleOverlap(line.sx, line.sy, line.ex, line.ey, circle.x, circle.y, circle.r);
}

plat::Ref<TVector> VectorSum(const TVector& a, const TVector& b) {
    return TVector::CreateFromVectorsAdded(a, b);
}

plat::Ref<TVector> VectorScaled(const TVector& v, double factor) {
    return TVector::CreateFromVectorScaled(v, factor);
}

plat::Ref<TVector> VectorDifference(const TVector& a, const TVector& b) {
    return TVector::CreateFromVectorsSubtracted(b, a);
}

}  // namespace fw
