// Sprites: the frame animation in all its directions and endings, movement,
// bounds, rotation, scale and glow, drawing (shadow, tint, glow pass, the
// state put back) through the recording renderer, and killing attached
// sprites.

#include <cmath>
#include <string>
#include <vector>

#include "framework/animation.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "framework/sprite.h"
#include "periphery_fixture.h"
#include "platform/core/random.h"
#include "platform/gfx/display.h"

namespace {

using periphery::PeripheryTest;
using SpriteTest = PeripheryTest;

struct AnimCase {
    const char* what;
    int counterDir, reverse, pingPong, loop, loopCount;
    std::vector<int> frames;  // after each of ticks 1..15
    std::vector<int> calls;   // ticks AnimStoppedFunction was called on
};

TEST_F(SpriteTest, AnimationFramesAndStopCallsInEveryDirection) {
    // Four frames over 20 ms: four ticks, one frame a tick.
    const std::vector<int> everyTickFrom13 = {13, 14, 15};
    const AnimCase cases[] = {
        {"counter rises", 1, 0, 0, 1, 0, {1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}, {4, 8, 12}},
        {"counter falls", 0, 0, 0, 1, 0, {1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}, {4, 8, 12}},
        {"rising counter, reversed", 1, 1, 0, 1, 0, {3, 2, 1, 3, 3, 2, 1, 3, 3, 2, 1, 3, 3, 2, 1}, {4, 8, 12}},
        {"falling counter, reversed", 0, 1, 0, 1, 0, {2, 1, 0, 3, 2, 1, 0, 3, 2, 1, 0, 3, 2, 1, 0}, {4, 8, 12}},
        {"ping-pong, rising", 1, 0, 1, 1, 0, {1, 2, 3, 3, 2, 1, 1, 2, 3, 3, 2, 1, 1, 2, 3}, {}},
        {"ping-pong, falling", 0, 0, 1, 1, 0, {1, 2, 3, 3, 2, 1, 1, 2, 3, 3, 2, 1, 1, 2, 3}, {}},
        {"three passes", 1, 0, 0, 1, 3, {1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 3, 3, 3, 3}, {4, 8, 13, 14, 15}},
        {"no loop", 0, 0, 0, 0, 0, {1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
         {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    };
    for (const AnimCase& c : cases) {
        auto sprite = fw::TSprite::Create(Picture(8, 8, 4), 0, 0);
        sprite->LoopCount = c.loopCount;
        int tick = 0;
        std::vector<int> calls;
        sprite->AnimStoppedFunction = [&](fw::TSprite&) {
            calls.push_back(tick);
            return 0;
        };
        sprite->SetupAnim(4, 20, c.counterDir, c.reverse, 0, c.pingPong, c.loop);
        std::vector<int> frames;
        for (tick = 1; tick <= 15; ++tick) {
            sprite->ManageAnim();
            frames.push_back(sprite->frame);
        }
        EXPECT_EQ(frames, c.frames) << c.what;
        EXPECT_EQ(calls, c.calls) << c.what;
    }
}

TEST_F(SpriteTest, StillSpritesAndAPassOfNoLength) {
    auto sprite = fw::TSprite::Create(Picture(8, 8, 4), 0, 0);
    sprite->ImageFrame = 2;
    sprite->SetupAnim(1, 100, 1, 0, 0, 0, 1);
    sprite->AnimCounter = 5;
    EXPECT_EQ(sprite->ManageAnim(), 0);
    EXPECT_FLOAT_EQ(sprite->AnimCounter, 5) << "one frame is never animated";
    sprite->Draw();
    ASSERT_EQ(Calls(plat::DrawRecord::IMAGE).size(), 1u);
    EXPECT_EQ(Calls(plat::DrawRecord::IMAGE)[0].frame, 0) << "a running counter shows frame 0";
    sprite->StopAnim();
    plat::ClearRecordedCalls();
    sprite->Draw();
    EXPECT_EQ(Calls(plat::DrawRecord::IMAGE)[0].frame, 2) << "stopped: the still frame";

    plat::SeedRnd(7);
    sprite->SetupAnim(4, 0, 1, 0, 1, 0, 1);
    EXPECT_FLOAT_EQ(sprite->AnimCounter, 0) << "a random start in a pass of no length";
    sprite->SetupAnim(4, 100, 1, 0, 1, 0, 1);
    EXPECT_GE(sprite->AnimCounter, 0.01f);
    EXPECT_LT(sprite->AnimCounter, 20.0f);
}

TEST_F(SpriteTest, MovementUsesTheOldVelocityThenAddsGravity) {
    auto s = fw::TSprite::Create(nullptr, 10, 20);
    s->dx = 1;
    s->dy = -2;
    s->xgravity = 0.5f;
    s->ygravity = 1;
    s->Move();
    EXPECT_FLOAT_EQ(s->x, 11);
    EXPECT_FLOAT_EQ(s->y, 18);
    EXPECT_FLOAT_EQ(s->dx, 1.5f);
    EXPECT_FLOAT_EQ(s->dy, -1);
    fw::Delta = 0.5f;
    s->Move();
    EXPECT_FLOAT_EQ(s->x, 11.75f) << "a partial tick moves part of the way";

    fw::Delta = 1;
    s->StoreOriginalCoords();
    s->Stop();
    s->xgravity = s->ygravity = 0;
    s->speed = 4;
    s->Rotation = 0;
    s->MoveForward();
    EXPECT_NEAR(s->dx, 0, 1e-6);
    EXPECT_NEAR(s->dy, -4, 1e-6) << "0 degrees is up the screen";
    s->Rotation = 90;
    s->MoveForward();
    EXPECT_NEAR(s->dx, 4, 1e-6) << "90 degrees is to the right";
    EXPECT_NEAR(s->dy, 0, 1e-5);

    s->AttachedSprite = fw::TSprite::Create(nullptr, 0, 0);
    s->MoveAttachedSprite();
    EXPECT_NEAR(s->AttachedSprite->x, 4, 1e-5) << "the attached sprite moves by the velocity";
    s->MoveOriginalCoords();
    EXPECT_NEAR(s->ox, 11.75f + 4, 1e-5);
}

TEST_F(SpriteTest, BoundsOfMidHandledAndTopLeftSprites) {
    struct Case {
        int mid;
        float x, y;
        int out;
    };
    // A 20 x 10 picture on the 640 x 480 screen.
    const Case cases[] = {
        {1, -9, 100, 0}, {1, -11, 100, 1}, {1, 649, 100, 0}, {1, 651, 100, 1}, {1, 100, 486, 1},
        {0, -19, 100, 0}, {0, -21, 100, 1}, {0, 640, 100, 0}, {0, 641, 100, 1}, {0, 100, -11, 1},
    };
    for (const Case& c : cases) {
        auto s = fw::TSprite::Create(Picture(20, 10, 1, c.mid), c.x, c.y);
        EXPECT_EQ(s->OutOfBounds(), c.out) << "mid " << c.mid << " at " << c.x << "," << c.y;
    }
    EXPECT_EQ(fw::TSprite::Create(nullptr, -1, 5)->OutOfBounds(), 1) << "no image: a point";
    EXPECT_EQ(fw::TSprite::Create(nullptr, 5, 5)->OutOfBounds(), 0);

    auto s = fw::TSprite::Create(Picture(20, 10, 1, 1), 0, 0);
    s->xspeed = 5;
    s->MoveLeft();
    EXPECT_FLOAT_EQ(s->x, 10) << "kept inside the screen";
    s->x = 700;
    s->yspeed = 1;
    s->MoveDown();
    EXPECT_FLOAT_EQ(s->x, 630);
    EXPECT_FLOAT_EQ(s->y, 6);
}

TEST_F(SpriteTest, CentringInTheDrawingSpace) {
    auto image = Picture(20, 10);
    auto s = fw::TSprite::Create(image, 0, 0);
    s->Centre();
    EXPECT_EQ(image->midhandled, 1);
    EXPECT_FLOAT_EQ(s->x, 320);
    EXPECT_FLOAT_EQ(s->y, 240);
    s->CentreX(33);
    EXPECT_FLOAT_EQ(s->x, 320);
    EXPECT_FLOAT_EQ(s->y, 33);

    fw::UseVirtualResolution = 1;
    s->Centre();
    EXPECT_FLOAT_EQ(s->x, 160) << "the middle of the virtual screen";
    EXPECT_FLOAT_EQ(s->y, 120);
    s->CentreX(7);
    EXPECT_FLOAT_EQ(s->x, 160);
    fw::UseVirtualResolution = 2;
    s->SetPosition(1, 2);
    s->Centre();
    EXPECT_FLOAT_EQ(s->x, 1) << "other switch values leave the position";

    fw::UseVirtualResolution = 1;
    auto bare = fw::TSprite::Create(nullptr, 0, 0);
    bare->Centre();
    bare->CentreX(5);
    EXPECT_FLOAT_EQ(bare->x, 160) << "no image to handle, still placed";
}

TEST_F(SpriteTest, RotationScaleAndGlowRunForTheirTime) {
    auto s = fw::TSprite::Create(nullptr, 0, 0);
    s->SetupRotation(10, 50, 0, 0);  // 10 ticks
    Ticks(15, [&] { s->ManageRotation(); });
    EXPECT_FLOAT_EQ(s->Rotation, 100);
    s->SetupRotation(100, 0, 1, 0);
    Ticks(4, [&] { s->ManageRotation(); });
    EXPECT_FLOAT_EQ(s->Rotation, 140) << "looping keeps the angle in 0..360";
    s->SetupRotation(-150, 0, 1, 0);
    s->ManageRotation();
    EXPECT_FLOAT_EQ(s->Rotation, 350);

    s->SetupScale(0.1f, -0.05f, 20);  // 4 ticks
    Ticks(6, [&] { s->ManageScale(); });
    EXPECT_NEAR(s->ScaleX, 1.4f, 1e-5);
    EXPECT_NEAR(s->ScaleY, 0.8f, 1e-5);
    s->SetScaleXY(2, 0);
    EXPECT_FLOAT_EQ(s->ScaleY, 2) << "y 0: uniform";
    EXPECT_FLOAT_EQ(s->Width(), 0);
    s->ClearTransformations();
    EXPECT_FLOAT_EQ(s->ScaleX, 1);
    EXPECT_FLOAT_EQ(s->Rotation, 0);

    s->SetGlow(2, 1, 0.3f, 0, 1);
    Ticks(4, [&] { s->ManageGlow(); });
    EXPECT_FLOAT_EQ(s->Glow, 0) << "decays, never below 0";
    s->SetGlow(3, 0, 2, 0.2f, 0.6f);
    Ticks(45, [&] { s->ManageGlow(); });
    EXPECT_NEAR(s->Glow, 0.6f, 1e-5) << "the pulse at 90 degrees";
    Ticks(45, [&] { s->ManageGlow(); });
    EXPECT_NEAR(s->Glow, 0.2f, 1e-5);
}

TEST_F(SpriteTest, DrawingPutsTheShadowFirstAndTheStateBack) {
    auto s = fw::TSprite::Create(Picture(20, 10), 100.6f, 50.2f);
    s->SetShadow(1, 4, 5, 0.5f);
    s->Alpha = 0.8f;
    s->Rotation = 45;
    s->SetScaleXY(2, 0);
    s->Color = fw::TColor::Create(255, 128, 0, 1);
    s->SetGlow(1, 0.6f, 0, 0, 1);
    s->Draw();
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 4u);
    // The shadow: black, its alpha times the sprite's, at its offset.
    EXPECT_EQ(images[0].r + images[0].g + images[0].b, 0);
    EXPECT_FLOAT_EQ(images[0].alpha, 0.4f);
    EXPECT_FLOAT_EQ(images[0].x, 104.6f);
    EXPECT_FLOAT_EQ(images[0].y, 55.2f);
    // The sprite: tinted, transformed.
    EXPECT_EQ(images[1].g, 128);
    EXPECT_FLOAT_EQ(images[1].alpha, 0.8f);
    EXPECT_FLOAT_EQ(images[1].scaleX, 2);
    EXPECT_FLOAT_EQ(images[1].rotation, 45);
    EXPECT_EQ(images[1].blend, plat::ALPHABLEND);
    // The glow pass draws the sprite again, additively (its black shadow
    // adds nothing); the sprite's own tint wins over the light colour.
    EXPECT_EQ(images[2].blend, plat::LIGHTBLEND);
    EXPECT_EQ(images[2].r + images[2].g + images[2].b, 0);
    EXPECT_EQ(images[3].blend, plat::LIGHTBLEND);
    EXPECT_EQ(images[3].g, 128);

    int r = 0, g = 0, b = 0;
    plat::GetColor(r, g, b);
    float sx = 0, sy = 0;
    plat::GetScale(sx, sy);
    EXPECT_EQ(r + g + b, 765);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);
    EXPECT_FLOAT_EQ(sx, 1);
    EXPECT_FLOAT_EQ(plat::GetRotation(), 0);
    EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);

    s->Color = nullptr;
    s->Shadow = 0;
    s->RoundCoords = 1;
    plat::ClearRecordedCalls();
    s->Draw();
    const auto plain = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_FLOAT_EQ(plain[0].x, 101) << "rounded to whole pixels";
    EXPECT_FLOAT_EQ(plain[0].y, 50);
    EXPECT_EQ(plain[1].r, 153) << "light colour 255 x glow";
    EXPECT_EQ(plain[1].b, 153);

    s->visible = 0;
    plat::ClearRecordedCalls();
    s->Draw();
    EXPECT_TRUE(plat::RecordedCalls().empty());
}

TEST_F(SpriteTest, TheGlowPassKeepsTheAlternativeImage) {
    auto own = Picture(20, 10);
    auto other = Picture(30, 30);
    auto halo = Picture(40, 40);
    auto s = fw::TSprite::Create(own, 0, 0);
    s->AlternativeImage = other;
    s->SetGlow(1, 1, 0, 0, 1);
    for (int frame = 0; frame < 2; ++frame) s->Draw();
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 4u);
    for (const auto& call : images) EXPECT_EQ(call.image, other->image.get()) << "every frame, both passes";
    EXPECT_EQ(s->AlternativeImage, other);

    plat::ClearRecordedCalls();
    s->DrawLight(1, 1, 1, 1, halo);
    ASSERT_EQ(Calls(plat::DrawRecord::IMAGE).size(), 1u);
    EXPECT_EQ(Calls(plat::DrawRecord::IMAGE)[0].image, halo->image.get());
    EXPECT_EQ(s->AlternativeImage, other);
}

TEST_F(SpriteTest, DrawingWithTheScrollOffset) {
    fw::Game->ScrollX = 30;
    fw::Game->ScrollY = 10;
    auto s = fw::TSprite::Create(Picture(4, 4), 100, 100);
    s->UseOffset = 1;
    s->offx = 2;
    s->SetShadow(1, 3, 3, 1);
    s->visible = 0;
    s->DrawWithOffset();
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u) << "drawn even when not visible";
    EXPECT_FLOAT_EQ(images[0].x, 75);
    EXPECT_FLOAT_EQ(images[0].y, 93);
    EXPECT_FLOAT_EQ(images[1].x, 72);
    EXPECT_FLOAT_EQ(images[1].y, 90);
}

TEST_F(SpriteTest, KillingARingOfAttachedSpritesEnds) {
    auto a = fw::TSprite::Create(nullptr, 0, 0);
    auto b = fw::TSprite::Create(nullptr, 0, 0);
    auto c = fw::TSprite::Create(nullptr, 0, 0);
    a->AttachedSprite = b;
    b->AttachedSprite = c;
    c->AttachedSprite = a;
    std::weak_ptr<fw::TSprite> weakB = b;
    a->Kill();
    EXPECT_EQ(a->AttachedSprite, nullptr);
    EXPECT_EQ(b->AttachedSprite, nullptr);
    EXPECT_EQ(c->AttachedSprite, nullptr);
    b.reset();
    EXPECT_TRUE(weakB.expired()) << "the ring is broken and freed";

    auto keep = fw::TSprite::Create(nullptr, 0, 0);
    auto d = fw::TSprite::Create(nullptr, 0, 0);
    d->AttachedSprite = keep;
    d->KillAttachedSprite = 0;
    keep->AttachedSprite = fw::TSprite::Create(nullptr, 0, 0);
    d->Kill();
    EXPECT_EQ(d->AttachedSprite, nullptr) << "dropped either way";
    EXPECT_NE(keep->AttachedSprite, nullptr) << "but not killed";
}

TEST_F(SpriteTest, NamesAndStoredCoordinates) {
    auto s = fw::TSprite::Create(nullptr, 3, 4);
    s->SetName("Hero");
    EXPECT_EQ(s->name, "HERO");
    s->StoreCentreCoords();
    s->StoreOriginalCoords();
    s->BaseScaleX = 2;
    s->BaseScaleY = 3;
    s->ScaleOriginalCoords();
    EXPECT_FLOAT_EQ(s->x, 6);
    EXPECT_FLOAT_EQ(s->y, 12);
    EXPECT_FLOAT_EQ(s->cx, 3);
}

}  // namespace

namespace {

using periphery::PeripheryTest;

TEST_F(PeripheryTest, ThePointerIsMappedIntoTheDrawingSpace) {
    auto& mouse = *fw::Game->Mouse;
    mouse.x = 100;
    mouse.y = 50;
    EXPECT_EQ(fw::DrawingWidth(), 640);
    EXPECT_FLOAT_EQ(fw::PointerInDrawingSpace().x, 100) << "without the virtual resolution: window pixels";

    fw::UseVirtualResolution = 1;
    EXPECT_EQ(fw::DrawingWidth(), 320);
    EXPECT_EQ(fw::DrawingHeight(), 240);
    // No window yet: the letterbox of the configured window size.
    EXPECT_FLOAT_EQ(fw::PointerInDrawingSpace().x, 50);
    EXPECT_FLOAT_EQ(fw::PointerInDrawingSpace().y, 25);
    fw::ScreenWidth = 800;  // bars of 80 at the sides
    EXPECT_FLOAT_EQ(fw::WindowToDrawingSpace(180, 50).x, 50);
    EXPECT_FLOAT_EQ(fw::WindowToDrawingSpace(180, 50).y, 25);

    // An open 800 x 600 window showing 320 x 240.
    plat::StopRecording();
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60));
    plat::SetVirtualResolution(320, 240);
    fw::ScreenHeight = 600;
    const fw::DrawingPoint p = fw::WindowToDrawingSpace(400, 300);
    EXPECT_FLOAT_EQ(p.x, 160);
    EXPECT_FLOAT_EQ(p.y, 120);
    EXPECT_FLOAT_EQ(fw::WindowToDrawingSpace(800, 0).x, 320);
    plat::EndGraphics();
    plat::StartRecording();

    fw::Game = nullptr;
    EXPECT_FLOAT_EQ(fw::PointerInDrawingSpace().x, 0) << "no shell, no pointer";
}

}  // namespace
