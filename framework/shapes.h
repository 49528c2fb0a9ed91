#pragma once
// Small value classes that sprites, labels and widgets hold: a drawing colour
// with alpha, a shadow style, two filled shapes, a 2D vector with the usual
// arithmetic and a bounce, a line segment and a marker class for collision
// ids; and the plane-geometry helpers that work on them or on bare numbers.
//
// Colours and shadows act on the shared drawing state; shapes draw only in
// their own colour and put white and alpha 1 back afterwards.

#include "platform/core/object.h"

namespace fw {

class TColor : public plat::Object {
public:
    int R = 0, G = 0, B = 0;  // 0..255
    float Alpha = 1.0f;

    static plat::Ref<TColor> Create(int r, int g, int b, float alpha);
    // Colour and alpha into the drawing state.
    void Apply() const;
    void ApplyNoAlpha() const;
    // White, alpha 1.
    static void Restore();
    void Set(int r, int g, int b, float alpha);
    void Copy(const TColor& from);
    void Get(int& r, int& g, int& b) const;
    void GetFull(int& r, int& g, int& b, float& alpha) const;
};

class TShadow : public plat::Object {
public:
    float X = 1.0f, Y = 1.0f;  // offset from what casts it
    float Alpha = 0.5f;

    static plat::Ref<TShadow> Create(float x, float y, float alpha);
    void Init(float x, float y, float alpha);
    void Copy(const TShadow& from);
    // Makes this the text-shadow style of the text drawing functions.
    void ApplyToText() const;
    // Black at the shadow's alpha.
    void Apply() const;
    // White, alpha 1.
    static void Restore();
};

class TBox : public plat::Object {
public:
    int Active = 1;
    plat::Ref<TColor> Color;  // none: the box draws nothing
    float X = 0, Y = 0, W = 0, H = 0;

    static plat::Ref<TBox> Create(float x, float y, float w, float h, const plat::Ref<TColor>& color);
    void Init(float x, float y, float w, float h, const plat::Ref<TColor>& color);
    void Draw() const;
    void Kill();
};

class TCircle : public plat::Object {
public:
    plat::Ref<TColor> Color;  // none: drawn in the current colour
    float r = 0;              // radius
    float x = 0, y = 0;       // centre

    static plat::Ref<TCircle> Create(int x, int y, int r, const plat::Ref<TColor>& color);
    void Draw() const;
};

class TVector : public plat::Object {
public:
    double x = 0, y = 0;

    static plat::Ref<TVector> Create(double x, double y);
    static plat::Ref<TVector> CreateFromPoints(double x1, double y1, double x2, double y2);
    static plat::Ref<TVector> CreateFromVectorsAdded(const TVector& a, const TVector& b);
    static plat::Ref<TVector> CreateFromVectorScaled(const TVector& v, double s);
    // b - a: the second minus the first.
    static plat::Ref<TVector> CreateFromVectorsSubtracted(const TVector& a, const TVector& b);

    void AddVector(const TVector& v);
    void SubtractVector(const TVector& v);
    void Multiply(double s);
    void Scale(double s);
    void Reverse();
    double CalcLength() const;
    // y / x (infinite for a vertical vector).
    double CalcSlope() const;
    // (-y, x).
    plat::Ref<TVector> CalcNormal() const;
    double DotProduct(const TVector& v) const;
    plat::Ref<TVector> CreateCopy() const;
    void CopyFrom(const TVector& v);
    // To length 1; a zero vector stays as it is.
    void Normalise();
    // Degrees, clockwise on the screen.
    void Rotate(double angle);
    // Reflects off a surface running along `wall`; a zero wall reflects nothing.
    void Rebound(const TVector& wall);
    void Draw(double x, double y, bool lastPixel) const;
};

class TLine : public plat::Object {
public:
    double sx = 0, sy = 0, ex = 0, ey = 0;
    double length = 0;  // set by CalcLength
    plat::Ref<TColor> Color;

    static plat::Ref<TLine> Create(double sx, double sy, double ex, double ey);
    static plat::Ref<TLine> CreateFromVector(double x, double y, const TVector& v);
    double CalcLength();
    double CalcSlope() const;
    void Draw(bool lastPixel) const;
    plat::Ref<TVector> GetVector() const;
    void SetFromVector(const TVector& v, int x, int y);
};

// An id for collision layers that is not an object of its own.
class TCollideObject : public plat::Object {
public:
    int Value = 0;
};

// --- geometry ------------------------------------------------------------------
double Distance(double x1, double y1, double x2, double y2);
double LegFromHypotenuse(double hypotenuse, double leg);
// 1 when the point of the segment nearest the centre is closer than the radius.
int SegmentCircleOverlap(double x1, double y1, double x2, double y2, double cx, double cy,
                         double radius);
int CircleLineOverlap(const TCircle& circle, const TLine& line);
// 1 when the point lies strictly inside the quadrilateral given clockwise.
int PointInQuad(double px, double py, double x1, double y1, double x2, double y2, double x3,
                double y3, double x4, double y4);
// Touching edges do not count.
int RectsIntersect(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                   double h2);
void BezierPoint(double sx, double sy, double ex, double ey, double c1x, double c1y, double c2x,
                 double c2y, double t, double& outX, double& outY);
plat::Ref<TVector> VectorSum(const TVector& a, const TVector& b);
plat::Ref<TVector> VectorScaled(const TVector& v, double factor);
// a - b (the opposite order to CreateFromVectorsSubtracted).
plat::Ref<TVector> VectorDifference(const TVector& a, const TVector& b);

}  // namespace fw
