// Slides and slide shows: phases in, hold and out, the black layer of fades,
// masks, cross-fades, the show's results, letter-box bars, and slide lines
// gliding through their phases.

#include <vector>

#include "framework/shapes.h"
#include "framework/slides.h"
#include "periphery_fixture.h"

namespace {

using periphery::PeripheryTest;
using SlideTest = PeripheryTest;

// A slide of a 64 x 48 picture (handled at its middle) with these effects.
plat::Ref<fw::TSlide> MakeSlide(const plat::Ref<fw::TTransitionEffect>& in,
                                const plat::Ref<fw::TTransitionEffect>& hold,
                                const plat::Ref<fw::TTransitionEffect>& out) {
    auto slide = fw::TSlide::Create("", 0, 1, in, hold, out, "unused");
    slide->Image = PeripheryTest::Picture(64, 48, 1, 1, "slide");
    slide->CentreCoords();
    return slide;
}

// The alpha of the full-screen black layer drawn over a frame, -1 for none.
float BlackLayer() {
    for (const auto& c : plat::RecordedCalls())
        if (c.kind == plat::DrawRecord::RECT && c.r + c.g + c.b == 0 && c.w >= 640) return c.alpha;
    return -1;
}

TEST_F(SlideTest, AHoldOnlySlideFinishesOnTheTickItsCounterReachesTheLength) {
    auto slide = MakeSlide(nullptr, fw::TTransitionEffect::Create(0, 500), nullptr);
    EXPECT_FLOAT_EQ(slide->x, 320);
    EXPECT_FLOAT_EQ(slide->y, 240);
    for (int tick = 1; tick < 100; ++tick) ASSERT_EQ(slide->Manage(), 0) << tick;
    EXPECT_EQ(slide->Manage(), 1);

    auto bare = fw::TSlide::Create("", 0, 1, nullptr, nullptr, nullptr, "");
    EXPECT_EQ(bare->Manage(), 1) << "no effects: over at once";
    bare->Draw();
    EXPECT_EQ(BlackLayer(), -1) << "and drawn plainly";
}

TEST_F(SlideTest, InAndOutFadeFromAndToBlackAndPhasesFollowEachOther) {
    auto slide = MakeSlide(fw::TTransitionEffect::Create(1, 50), fw::TTransitionEffect::Create(0, 50),
                           fw::TTransitionEffect::Create(2, 50));
    std::vector<float> layers;
    std::vector<int> types;
    for (int tick = 0; tick < 30; ++tick) {
        plat::ClearRecordedCalls();
        slide->Draw();
        layers.push_back(BlackLayer());
        types.push_back(slide->CurrentEffect->EffectType);
        if (slide->Manage() == 1) break;
    }
    ASSERT_EQ(layers.size(), 30u);
    EXPECT_FLOAT_EQ(layers[0], 1) << "in: black at first";
    EXPECT_FLOAT_EQ(layers[5], 0.5f);
    EXPECT_FLOAT_EQ(layers[10], -1) << "hold: no layer";
    EXPECT_FLOAT_EQ(layers[20], 0) << "out: clear at first";
    EXPECT_FLOAT_EQ(layers[25], 0.5f);
    EXPECT_EQ(types[9], 1);
    EXPECT_EQ(types[10], 0);
    EXPECT_EQ(types[20], 2);
    const auto images = Calls(plat::DrawRecord::IMAGE);
    EXPECT_EQ(images.back().blend, plat::SOLIDBLEND) << "the picture itself is drawn solid";

    auto noHold = MakeSlide(fw::TTransitionEffect::Create(1, 50), nullptr, fw::TTransitionEffect::Create(2, 50));
    Ticks(10, [&] { noHold->Manage(); });
    EXPECT_EQ(noHold->CurrentEffect, noHold->OutEffect) << "in, then out when there is no hold";
}

TEST_F(SlideTest, MasksGrowFromTheirStartToTheirEndSize) {
    auto in = fw::TTransitionEffect::Create(1, 50);
    in->MaskImage = Picture(16, 16, 1, 1, "mask");
    in->MaskStartSize = 1;
    in->MaskEndSize = 5;
    auto slide = MakeSlide(in, nullptr, nullptr);
    Ticks(5, [&] { slide->Manage(); });
    slide->Draw();
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_FLOAT_EQ(images[1].scaleX, 3) << "half-way";
    EXPECT_FLOAT_EQ(images[1].x, 320) << "over the middle of the screen";
    EXPECT_EQ(BlackLayer(), -1) << "no fade with the mask alone";
    in->MaskAndFade = 1;
    plat::ClearRecordedCalls();
    slide->Draw();
    EXPECT_FLOAT_EQ(BlackLayer(), 0.5f);
    float sx = 0, sy = 0;
    plat::GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 1);
}

TEST_F(SlideTest, ACrossFadeDrawsTheSlideBeforeUnderneath) {
    auto first = MakeSlide(nullptr, fw::TTransitionEffect::Create(0, 50), nullptr);
    auto cross = fw::TTransitionEffect::Create(3, 50);
    cross->ScrollSpeedX = 1;
    auto second = MakeSlide(cross, nullptr, nullptr);
    second->LastSlide = first;
    first->CurrentEffect->ScrollSpeedX = 2;
    Ticks(5, [&] { second->Manage(); });
    EXPECT_FLOAT_EQ(second->x, 315);
    EXPECT_FLOAT_EQ(first->x, 310) << "the slide before moves on underneath";
    second->Draw();
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].blend, plat::SOLIDBLEND);
    EXPECT_FLOAT_EQ(images[0].x, 310);
    EXPECT_FLOAT_EQ(images[1].alpha, 0.5f);

    // The first slide of a show has nothing under it: its picture comes up alone.
    auto alone = MakeSlide(fw::TTransitionEffect::Create(3, 50), nullptr, nullptr);
    plat::ClearRecordedCalls();
    alone->Draw();
    ASSERT_EQ(Calls(plat::DrawRecord::IMAGE).size(), 1u);
    EXPECT_FLOAT_EQ(Calls(plat::DrawRecord::IMAGE)[0].alpha, 0);

    auto instant = MakeSlide(fw::TTransitionEffect::Create(1, 0), nullptr, nullptr);
    plat::ClearRecordedCalls();
    instant->Draw();
    EXPECT_FLOAT_EQ(BlackLayer(), 0) << "a phase of no length shows its end";
}

TEST_F(SlideTest, TheShowReportsEachNewSlideAndItsEndOnce) {
    auto show = fw::TSlideShow::Create();
    const auto hold = fw::TTransitionEffect::Create(0, 25);  // 5 ticks
    show->AddSlide("", 0, 1, nullptr, hold, nullptr, "a");
    show->AddSlide("", 0, 1, nullptr, hold->CreateCopy(), nullptr, "b");
    std::vector<std::pair<int, int>> results;  // tick, result
    for (int tick = 1; tick <= 20; ++tick)
        if (const int r = show->Manage()) results.emplace_back(tick, r);
    EXPECT_EQ(results, (std::vector<std::pair<int, int>>{{5, 2}, {10, 1}}));
    EXPECT_EQ(show->Finished, 1);
    EXPECT_EQ(show->CurrentSlide, 1);
    EXPECT_EQ(show->GetCurrentSlide()->LastSlide, show->First());
    show->Draw();
    EXPECT_TRUE(plat::RecordedCalls().empty()) << "a finished show draws nothing";
    show->Kill();
    EXPECT_EQ(show->Count(), 0);

    auto empty = fw::TSlideShow::Create();
    EXPECT_EQ(empty->Manage(), 1) << "an empty show is over at once";
    EXPECT_EQ(empty->Manage(), 0);
    empty->Draw();
}

TEST_F(SlideTest, LetterBoxBars) {
    fw::ScreenHeight = 600;
    fw::ScreenWidth = 800;
    auto show = fw::TSlideShow::Create();
    show->AddSlide("", 0, 1, nullptr, fw::TTransitionEffect::Create(0, 1000), nullptr, "");
    show->LetterBoxHeight = 400;
    show->Draw();
    const auto rects = Calls(plat::DrawRecord::RECT);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].y, 0);
    EXPECT_FLOAT_EQ(rects[0].h, 100);
    EXPECT_FLOAT_EQ(rects[0].w, 800);
    EXPECT_FLOAT_EQ(rects[1].y, 500);
    EXPECT_FLOAT_EQ(rects[1].h, 100);
    EXPECT_EQ(rects[1].r, 0);
    int r = 0, g = 0, b = 0;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 255);

    fw::UseVirtualResolution = 1;
    plat::ClearRecordedCalls();
    show->LetterBoxHeight = 200;
    show->Draw();
    EXPECT_FLOAT_EQ(Calls(plat::DrawRecord::RECT).at(1).y, 220) << "in the virtual screen";
}

TEST_F(SlideTest, CopiedEffectsKeepTheirMotionAndMaskButNotZoomOrMaskFade) {
    auto e = fw::TTransitionEffect::Create(2, 100);
    e->ScrollSpeedX = 1;
    e->ScrollSpeedY = 2;
    e->ZoomSpeed = 0.5f;
    e->MaskAndFade = 1;
    e->MaskStartSize = 3;
    auto copy = e->CreateCopy();
    EXPECT_EQ(copy->EffectType, 2);
    EXPECT_EQ(copy->Length, 20);
    EXPECT_FLOAT_EQ(copy->ScrollSpeedY, 2);
    EXPECT_FLOAT_EQ(copy->MaskStartSize, 3);
    EXPECT_FLOAT_EQ(copy->ZoomSpeed, 0);
    EXPECT_EQ(copy->MaskAndFade, 0);
}

TEST_F(SlideTest, SlideLinesGlideThroughTheirPhases) {
    auto lines = plat::New<fw::TSlideLineList>();
    lines->Color->Set(255, 0, 0, 1);
    auto line = lines->Add("Hello", 0, 0, 100, 50, 50);  // 10 ticks
    EXPECT_EQ(line->AddPhaseSpecial(100, 50, 100, 150, 25), 1);  // 5 ticks
    lines->Start();
    Ticks(5, [&] { lines->Manage(); });
    EXPECT_FLOAT_EQ(line->GetX(), 50);
    EXPECT_FLOAT_EQ(line->GetY(), 25);
    Ticks(5, [&] { lines->Manage(); });
    EXPECT_EQ(line->CurrentPhase, 1);
    EXPECT_FLOAT_EQ(line->GetY(), 50);
    Ticks(2, [&] { lines->Manage(); });
    EXPECT_FLOAT_EQ(line->GetY(), 90);
    Ticks(10, [&] { lines->Manage(); });
    EXPECT_EQ(line->Active, 0);
    EXPECT_FLOAT_EQ(line->GetX(), 100) << "after the end: the last end point";
    EXPECT_FLOAT_EQ(line->GetY(), 150);

    lines->Draw();
    const auto texts = Calls(plat::DrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hello");
    EXPECT_EQ(texts[0].r, 255);
    EXPECT_FLOAT_EQ(texts[0].y, 150);
    int r = 0, g = 0, b = 0;
    plat::GetColor(r, g, b);
    EXPECT_EQ(g, 255);

    for (int i = 2; i < fw::TAnimation::MAX_PHASES; ++i) ASSERT_EQ(line->AddPhaseSpecial(0, 0, 1, 1, 10), 1);
    EXPECT_EQ(line->AddPhaseSpecial(0, 0, 1, 1, 10), 0) << "the 51st phase is refused";
    EXPECT_EQ(line->TotalPhases, 50);
}

}  // namespace
