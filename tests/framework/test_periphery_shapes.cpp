// Colours, shadows, shapes, vectors and lines; the plane-geometry helpers;
// the shadowed image and rectangle helpers of the drawing functions.

#include <cmath>

#include "framework/drawing.h"
#include "framework/shapes.h"
#include "periphery_fixture.h"

namespace {

using periphery::PeripheryTest;

struct Vec {
    double x, y;
};

void ExpectVector(const fw::TVector& v, Vec expected, const std::string& what) {
    EXPECT_NEAR(v.x, expected.x, 1e-9) << what;
    EXPECT_NEAR(v.y, expected.y, 1e-9) << what;
}

TEST(Vectors, ArithmeticReboundAndRotation) {
    auto v = fw::TVector::Create(3, 4);
    EXPECT_DOUBLE_EQ(v->CalcLength(), 5);
    EXPECT_DOUBLE_EQ(v->CalcSlope(), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(v->DotProduct(*fw::TVector::Create(2, -1)), 2);
    ExpectVector(*v->CalcNormal(), {-4, 3}, "normal");

    auto bounced = v->CreateCopy();
    bounced->Rebound(*fw::TVector::Create(1, 0));
    ExpectVector(*bounced, {3, -4}, "off a horizontal wall");
    bounced->CopyFrom(*v);
    bounced->Rebound(*fw::TVector::Create(0, -5));
    ExpectVector(*bounced, {-3, 4}, "off a vertical wall of any length");
    bounced->CopyFrom(*v);
    bounced->Rebound(*fw::TVector::Create(0, 0));
    ExpectVector(*bounced, {3, 4}, "a wall of no length reflects nothing");

    auto r = fw::TVector::Create(1, 0);
    r->Rotate(90);
    ExpectVector(*r, {0, 1}, "90 degrees turns right into down the screen");
    r->Rotate(-180);
    ExpectVector(*r, {0, -1}, "back through the start");

    auto n = fw::TVector::Create(0, 0);
    n->Normalise();
    ExpectVector(*n, {0, 0}, "a zero vector stays zero");
    v->Normalise();
    ExpectVector(*v, {0.6, 0.8}, "normalised");

    auto m = fw::TVector::Create(1, -2);
    m->Multiply(3);
    m->Scale(0.5);
    m->Reverse();
    m->AddVector(*fw::TVector::Create(1, 1));
    m->SubtractVector(*fw::TVector::Create(0.5, 0));
    ExpectVector(*m, {-1, 4}, "in-place arithmetic");
    ExpectVector(*fw::TVector::CreateFromPoints(1, 2, 4, 6), {3, 4}, "from points");
}

TEST(Vectors, TheTwoSubtractionOrders) {
    const auto a = fw::TVector::Create(5, 1);
    const auto b = fw::TVector::Create(2, 3);
    ExpectVector(*fw::TVector::CreateFromVectorsSubtracted(*a, *b), {-3, 2}, "second minus first");
    ExpectVector(*fw::VectorDifference(*a, *b), {3, -2}, "first minus second");
    ExpectVector(*fw::VectorSum(*a, *b), {7, 4}, "sum");
    ExpectVector(*fw::VectorScaled(*a, -2), {-10, -2}, "scaled");
    ExpectVector(*fw::TVector::CreateFromVectorsAdded(*a, *b), {7, 4}, "added");
    EXPECT_DOUBLE_EQ(a->x, 5) << "the operands are left alone";
}

TEST(Lines, FromVectorsAndBack) {
    auto line = fw::TLine::CreateFromVector(1, 1, *fw::TVector::Create(3, 4));
    EXPECT_DOUBLE_EQ(line->ex, 4);
    EXPECT_DOUBLE_EQ(line->ey, 5);
    EXPECT_DOUBLE_EQ(line->CalcLength(), 5);
    EXPECT_DOUBLE_EQ(line->length, 5);
    EXPECT_DOUBLE_EQ(line->CalcSlope(), 4.0 / 3.0);
    line->SetFromVector(*fw::TVector::Create(-1, 2), 10, 20);
    ExpectVector(*line->GetVector(), {-1, 2}, "vector of the line");
    EXPECT_DOUBLE_EQ(line->sx, 10);
    EXPECT_DOUBLE_EQ(line->ey, 22);
}

TEST(Geometry, DistancesOverlapsAndCurves) {
    EXPECT_DOUBLE_EQ(fw::Distance(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(fw::LegFromHypotenuse(5, 3), 4);
    EXPECT_EQ(fw::SegmentCircleOverlap(0, 0, 10, 0, 5, 2, 3), 1);
    EXPECT_EQ(fw::SegmentCircleOverlap(0, 0, 10, 0, 15, 0, 3), 0);
    EXPECT_EQ(fw::SegmentCircleOverlap(4, 4, 4, 4, 4, 5, 2), 1) << "a zero-length segment is a point";
    EXPECT_EQ(fw::PointInQuad(5, 5, 0, 0, 10, 0, 10, 10, 0, 10), 1);
    EXPECT_EQ(fw::PointInQuad(15, 5, 0, 0, 10, 0, 10, 10, 0, 10), 0);
    EXPECT_EQ(fw::RectsIntersect(0, 0, 10, 10, 5, 5, 10, 10), 1);
    EXPECT_EQ(fw::RectsIntersect(0, 0, 10, 10, 10, 0, 10, 10), 0) << "touching edges do not count";
    double x = 0, y = 0;
    fw::BezierPoint(0, 0, 10, 0, 0, 10, 10, 10, 0.5, x, y);
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 7.5);
}

TEST(Geometry, CircleLineOverlapIsTheSegmentTestOnShapes) {
    struct Case {
        int cx, cy, r;
        double sx, sy, ex, ey;
    };
    const Case cases[] = {
        {5, 2, 3, 0, 0, 10, 0},    // crosses the middle
        {15, 0, 3, 0, 0, 10, 0},   // beyond the end
        {12, 0, 3, 0, 0, 10, 0},   // reaches the end point
        {0, 5, 5, 0, 0, 10, 0},    // exactly the radius away: no overlap
        {3, 3, 1, 0, 0, 6, 6},     // on a diagonal
    };
    for (const Case& c : cases) {
        auto circle = fw::TCircle::Create(c.cx, c.cy, c.r, nullptr);
        auto line = fw::TLine::Create(c.sx, c.sy, c.ex, c.ey);
        EXPECT_EQ(fw::CircleLineOverlap(*circle, *line),
                  fw::SegmentCircleOverlap(c.sx, c.sy, c.ex, c.ey, c.cx, c.cy, c.r))
            << c.cx << "," << c.cy;
    }
}

TEST_F(PeripheryTest, ColoursAndShadowsSetAndRestoreTheDrawingState) {
    const fw::TColor colour;
    EXPECT_EQ(colour.R + colour.G + colour.B, 0) << "new colours are black";
    EXPECT_FLOAT_EQ(colour.Alpha, 1);
    const fw::TShadow shadow;
    EXPECT_FLOAT_EQ(shadow.X, 1);
    EXPECT_FLOAT_EQ(shadow.Y, 1);
    EXPECT_FLOAT_EQ(shadow.Alpha, 0.5f);

    int r = 0, g = 0, b = 0;
    fw::TColor::Create(10, 20, 30, 0.25f)->Apply();
    plat::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 60);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.25f);
    fw::TColor::Create(200, 100, 50, 0.9f)->ApplyNoAlpha();
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 200);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.25f) << "alpha untouched";
    fw::TColor::Restore();
    plat::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 765);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);

    fw::TShadow::Create(2, 3, 0.75f)->Apply();
    plat::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 0);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.75f);
    fw::TShadow::Create(2, 3, 0.75f)->ApplyToText();
    EXPECT_FLOAT_EQ(fw::TextShadowX, 2);
    EXPECT_FLOAT_EQ(fw::TextShadowAlpha, 0.75f);
    fw::SetShadowStyle(1, 1, 0.5f);
    fw::TShadow::Restore();
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);
}

TEST_F(PeripheryTest, ShapesDrawOnlyInTheirOwnColour) {
    fw::TBox::Create(1, 2, 3, 4, nullptr)->Draw();
    EXPECT_TRUE(plat::RecordedCalls().empty()) << "a box without a colour draws nothing";

    auto box = fw::TBox::Create(1, 2, 3, 4, fw::TColor::Create(255, 0, 0, 0.5f));
    box->Draw();
    fw::TCircle::Create(50, 60, 10, fw::TColor::Create(0, 255, 0, 1))->Draw();
    auto line = fw::TLine::Create(0, 0, 5, 5);
    line->Color = fw::TColor::Create(0, 0, 255, 1);
    line->Draw(false);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, plat::DrawRecord::RECT);
    EXPECT_EQ(calls[0].r, 255);
    EXPECT_EQ(calls[0].g, 0);
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.5f);
    EXPECT_FLOAT_EQ(calls[0].w, 3);
    EXPECT_EQ(calls[1].kind, plat::DrawRecord::OVAL);
    EXPECT_FLOAT_EQ(calls[1].x, 40);
    EXPECT_FLOAT_EQ(calls[1].y, 50);
    EXPECT_FLOAT_EQ(calls[1].w, 20);
    EXPECT_FLOAT_EQ(calls[1].h, 20);
    EXPECT_EQ(calls[1].g, 255);
    EXPECT_EQ(calls[2].kind, plat::DrawRecord::LINE);
    EXPECT_EQ(calls[2].b, 255);
    int r = 0, g = 0, b = 0;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 765);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);

    box->Kill();
    plat::ClearRecordedCalls();
    box->Draw();
    EXPECT_TRUE(plat::RecordedCalls().empty());
}

TEST_F(PeripheryTest, ShadowedImagesAndRectanglesKeepTheCallersColourAndAlpha) {
    auto image = Picture(20, 10)->image;
    auto shadow = fw::TShadow::Create(4, 5, 0.5f);
    plat::SetColor(10, 200, 30);
    plat::SetAlpha(0.4f);  // a box fading in
    fw::DrawImageWithShadow(image, 100, 50, shadow);
    fw::DrawRectWithShadow(7, 8, 30, 40, shadow);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 4u);
    for (int i : {0, 2}) {
        EXPECT_EQ(calls[i].r + calls[i].g + calls[i].b, 0) << "shadow " << i << " is black";
        EXPECT_FLOAT_EQ(calls[i].alpha, 0.5f);
    }
    for (int i : {1, 3}) {
        EXPECT_EQ(calls[i].g, 200) << "call " << i << " in the caller's colour";
        EXPECT_FLOAT_EQ(calls[i].alpha, 0.4f) << "call " << i << " at the caller's alpha";
    }
    EXPECT_FLOAT_EQ(calls[0].x, 104);
    EXPECT_FLOAT_EQ(calls[0].y, 55);
    EXPECT_FLOAT_EQ(calls[1].x, 100);
    EXPECT_EQ(calls[2].kind, plat::DrawRecord::RECT);
    EXPECT_FLOAT_EQ(calls[2].x, 11);
    EXPECT_FLOAT_EQ(calls[3].y, 8);

    plat::ClearRecordedCalls();
    fw::DrawImageWithShadow(image, 1, 1, nullptr);
    EXPECT_EQ(plat::RecordedCalls().size(), 1u) << "no shadow: the image alone";
    fw::DrawImageWithShadow(nullptr, 1, 1, shadow);
    EXPECT_EQ(plat::RecordedCalls().size(), 1u) << "no image: nothing";

    plat::ClearRecordedCalls();
    fw::DrawImageCenteredWithShadow(image, nullptr);
    ASSERT_EQ(plat::RecordedCalls().size(), 1u);
    EXPECT_FLOAT_EQ(plat::RecordedCalls()[0].x, 310) << "centred on the 640-pixel screen";
    EXPECT_FLOAT_EQ(plat::RecordedCalls()[0].y, 235);
}

}  // namespace
