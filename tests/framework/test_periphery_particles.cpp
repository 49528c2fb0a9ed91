// Particles, generators, explosions and game objects: delays, phase
// scripts, fades, life, generators' counts and intervals, self-removal from
// lists during a walk, collision layers, and lists and members freeing each
// other (LeakSanitizer checks the rest).

#include <memory>
#include <vector>

#include "framework/mouse.h"
#include "framework/particles.h"
#include "periphery_fixture.h"

namespace {

using periphery::PeripheryTest;

class ParticleTest : public PeripheryTest {
protected:
    void SetUp() override {
        PeripheryTest::SetUp();
        list = plat::New<fw::TParticleList>();
        dot = Picture(4, 4, 1, 1, "dot");
    }
    // A still, unfading particle at (100, 100).
    plat::Ref<fw::TParticle> Add(float dx = 0, float fadeMs = 0, int lifeMs = 0) {
        return list->AddNew(100, 100, dot, dx, 0, 0, fadeMs, 0, 0, 0, 1, 0, lifeMs, 0);
    }
    plat::Ref<fw::TParticleList> list;
    plat::Ref<fw::TGameImage> dot;
};

TEST_F(ParticleTest, ADelayHidesAndHoldsTheParticleThenItsPhasesStart) {
    auto p = Add(1);
    p->SetDelay(50);  // 10 ticks
    auto phase = p->AddPhase(100);
    phase->dx = 2;
    int finished = 0;
    p->DelayFinished = [&](fw::TParticle&) { ++finished; };
    Ticks(9, [&] { list->Manage(); });
    EXPECT_EQ(p->Hidden, 1);
    EXPECT_FLOAT_EQ(p->x, 100) << "held during the delay";
    list->Draw();
    EXPECT_TRUE(plat::RecordedCalls().empty()) << "and not drawn";
    list->Manage();
    EXPECT_EQ(p->Hidden, 0);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(p->CurrentPhase, phase);
    EXPECT_FLOAT_EQ(p->x, 102) << "moving at the first phase's speed at once";
}

TEST_F(ParticleTest, APhaseScriptRunsToItsEndAndThenTheParticleDies) {
    auto p = Add();
    int ended = 0;
    auto first = p->AddPhase(50);
    first->dx = 1;
    first->Scale = 2;
    first->UserFunction = [&](fw::TParticle&) { ++ended; };
    auto second = p->AddPhase(50);
    second->SetCoords = 1;
    second->SetX = 10;
    second->SetY = 20;
    second->dy = 1;
    second->Alpha = 0;
    second->SetAngle = 1;
    second->Angle = 30;
    p->StartPhases();
    EXPECT_FLOAT_EQ(p->ScaleX, 2);
    Ticks(9, [&] { p->Move(); });
    EXPECT_FLOAT_EQ(p->x, 109);
    p->Move();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(p->CurrentPhase, second);
    EXPECT_FLOAT_EQ(p->x, 10) << "the second phase placed it";
    EXPECT_FLOAT_EQ(p->y, 21);
    EXPECT_FLOAT_EQ(p->Rotation, 30);
    EXPECT_FLOAT_EQ(p->Alpha, 0);
    Ticks(9, [&] { EXPECT_EQ(p->Move(), 1); });
    EXPECT_EQ(p->Move(), 0) << "the last phase ended: dead";
    EXPECT_TRUE(p->Killed());
    EXPECT_EQ(list->Count(), 0);
    p->KillPhases();
    EXPECT_EQ(p->PhaseList, nullptr);
}

TEST_F(ParticleTest, AFadeTimeFadesFromTheFirstTickAndTheClearParticleGoes) {
    auto p = Add(0, 100);  // 20 ticks
    EXPECT_EQ(p->UseAlpha, 1);
    list->Manage();
    list->Draw();
    ASSERT_EQ(Calls(plat::DrawRecord::IMAGE).size(), 1u);
    EXPECT_FLOAT_EQ(Calls(plat::DrawRecord::IMAGE)[0].alpha, 0.95f);
    Ticks(18, [&] { list->Manage(); });
    EXPECT_EQ(list->Count(), 1);
    list->Manage();
    EXPECT_EQ(list->Count(), 0) << "fully transparent: removed";
    EXPECT_FLOAT_EQ(p->Alpha, 0);
}

TEST_F(ParticleTest, FadeInSustainAndFadeOut) {
    auto p = Add();
    p->SetFade(200, 500, 300);
    EXPECT_FLOAT_EQ(p->FadeInLength, 40);
    EXPECT_FLOAT_EQ(p->FadeSustainCounter, 100);
    EXPECT_FLOAT_EQ(p->FadeLength, 60);
    EXPECT_FLOAT_EQ(p->Alpha, 0);
    auto alphaAfter = [&](int ticks) {
        Ticks(ticks, [&] { list->Manage(); });
        plat::ClearRecordedCalls();
        list->Draw();
        const auto images = Calls(plat::DrawRecord::IMAGE);
        return images.empty() ? -1.0f : images[0].alpha;
    };
    EXPECT_FLOAT_EQ(alphaAfter(20), 0.5f) << "half-way in";
    EXPECT_FLOAT_EQ(alphaAfter(20), 1) << "in after 200 ms";
    EXPECT_FLOAT_EQ(alphaAfter(100), 1) << "held for 500 ms";
    EXPECT_FLOAT_EQ(alphaAfter(30), 0.5f) << "half-way out";
    Ticks(29, [&] { list->Manage(); });
    EXPECT_EQ(list->Count(), 1);
    list->Manage();
    EXPECT_EQ(list->Count(), 0) << "out after 300 ms";
}

TEST_F(ParticleTest, AParticleDiesOnceWhateverEndsItsLife) {
    int kills = 0;
    auto p = Add(0, 50, 50);  // the fade and the life end on tick 10
    p->UserKill = [&](fw::TParticle&) { ++kills; };
    p->KillAfterAnim = 1;
    p->SetupAnim(2, 50, 1, 0, 0, 0, 0);  // and so does its animation
    Ticks(10, [&] { list->Manage(); });
    EXPECT_EQ(kills, 1);
    EXPECT_EQ(list->Count(), 0);
    p->Kill();
    EXPECT_EQ(kills, 1) << "a dead particle stays dead";

    auto shrinking = Add();
    shrinking->DoScale = 1;
    shrinking->ScaleXSpeed = shrinking->ScaleYSpeed = -0.5f;
    Ticks(2, [&] { list->Manage(); });
    EXPECT_TRUE(shrinking->Killed()) << "scaled to nothing";

    auto leaving = Add(-200);
    list->Manage();
    EXPECT_TRUE(leaving->Killed()) << "off the screen";
    auto staying = Add(-200);
    staying->NoOutOfBounds = 1;
    list->Manage();
    EXPECT_FALSE(staying->Killed());
}

TEST_F(ParticleTest, AttachedParticlesDieTogetherEvenInARing) {
    auto a = Add();
    auto b = Add();
    a->AttachedParticle = b;
    b->AttachedParticle = a;
    a->Kill();
    EXPECT_TRUE(b->Killed());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(a->AttachedParticle, nullptr);
    EXPECT_EQ(b->AttachedParticle, nullptr);

    auto c = Add();
    auto d = Add();
    c->AttachedParticle = d;
    c->KillAttachedParticle = 0;
    c->Kill();
    EXPECT_FALSE(d->Killed());
    EXPECT_EQ(list->Count(), 1);
}

TEST_F(ParticleTest, GeneratorsMakeTheirCountAndLeave) {
    auto gens = plat::New<fw::TParticleGeneratorList>();
    int made = 0;
    auto make = [&](fw::TParticleGenerator&) { ++made; };
    auto five = gens->Add(0, 0, 5, 50, make);  // 1 now, 4 more, one every 10 ticks
    EXPECT_EQ(made, 1);
    EXPECT_EQ(gens->Count(), 1);
    std::vector<int> ticks;
    for (int tick = 1; tick <= 60; ++tick) {
        const int before = made;
        gens->Manage();
        if (made != before) ticks.push_back(tick);
    }
    EXPECT_EQ(ticks, (std::vector<int>{10, 20, 30, 40}));
    EXPECT_EQ(made, 5);
    EXPECT_EQ(gens->Count(), 0) << "done: out of the list";
    EXPECT_EQ(five->Manage(), -1);

    made = 0;
    gens->Add(0, 0, 1, 50, make);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(gens->Count(), 0) << "asked for one: never listed";

    made = 0;
    gens->Add(0, 0, 20, 2, make);  // 0.4 ticks apart
    gens->Manage();
    EXPECT_EQ(made, 3) << "several in one tick";
}

TEST_F(ParticleTest, AParticlesOwnGeneratorForOneStops) {
    auto p = Add();
    int made = 0;
    p->ParticleGenerator =
        fw::TParticleGenerator::Create(0, 0, 1, 10, [&](fw::TParticleGenerator&) { ++made; }, 0, 0, 1);
    p->ParticleGenerator->dx = 1;
    Ticks(100, [&] { list->Manage(); });
    EXPECT_EQ(made, 1) << "made at once, and no more";
    EXPECT_EQ(p->ParticleGenerator->Active, 0);
}

TEST_F(ParticleTest, ListPassesOverEveryParticle) {
    auto a = Add();
    auto b = Add();
    b->DoLightBlend = 1;
    list->Draw();
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].blend, plat::ALPHABLEND);
    EXPECT_EQ(images[1].blend, plat::LIGHTBLEND);
    EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);

    list->FadeAll(100);
    EXPECT_FLOAT_EQ(b->FadeCounter, 20);
    list->SetBaseScale(2, 3);
    EXPECT_FLOAT_EQ(a->BaseScaleY, 3);
    list->EnableUpdateOriginalCoords();
    a->dx = 5;
    list->Move();
    EXPECT_FLOAT_EQ(a->ox, 105) << "the home position moves instead";
    EXPECT_FLOAT_EQ(a->x, 100);
    list->ProcessScale(2, 2, 10, 20);
    EXPECT_FLOAT_EQ(a->x, 220);
    EXPECT_FLOAT_EQ(a->y, 220);
    list->AddOffsets(-1, 1);
    EXPECT_FLOAT_EQ(b->x, 209);
    list->ScaleCoords();
    EXPECT_FLOAT_EQ(a->x, 210);
    EXPECT_FLOAT_EQ(a->y, 200);

    auto first = list->AddNew(1, 2, dot, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1);
    EXPECT_EQ(list->First(), first) << "added at the front";
}

TEST_F(ParticleTest, CollideWritesEachParticleIntoLayerOne) {
    plat::ResetCollisions();
    auto a = Add();
    auto b = list->AddNew(300, 300, dot, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
    list->Collide();
    const auto hits = plat::CollideRect(99, 99, 3, 3, 1, 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], a);
    EXPECT_EQ(plat::CollideRect(298, 298, 4, 4, 1, 0).size(), 1u);
    plat::ResetCollisions();
}

TEST_F(ParticleTest, ListsAndTheirMembersFreeEachOther) {
    std::weak_ptr<fw::TParticleList> weakList = list;
    std::vector<std::weak_ptr<fw::TParticle>> members;
    for (int i = 0; i < 3; ++i) members.push_back(Add());
    members[0].lock()->AttachedParticle = members[1].lock();
    members[1].lock()->DataObject = list;  // the user's own reference is the user's to drop
    members[1].lock()->DataObject = nullptr;
    list = nullptr;
    EXPECT_TRUE(weakList.expired());
    for (const auto& m : members) EXPECT_TRUE(m.expired());

    auto explosions = plat::New<fw::TExplosionList>();
    std::weak_ptr<fw::TExplosion> boom = explosions->AddNew(1, 1, dot);
    auto objects = plat::New<fw::TGameObjectList>();
    std::weak_ptr<fw::TGameObject> thing = objects->AddNew(1, 1, dot);
    explosions = nullptr;
    objects = nullptr;
    EXPECT_TRUE(boom.expired());
    EXPECT_TRUE(thing.expired());
}

TEST_F(PeripheryTest, AnExplosionPlaysItsFramesOnceAndGoes) {
    auto explosions = plat::New<fw::TExplosionList>();
    auto boom = explosions->AddNew(50, 60, Picture(8, 8, 10));
    boom->StartAnim(500, 10);  // 100 ticks
    boom->dx = 1;
    std::vector<int> shown;
    for (int tick = 1; tick <= 99; ++tick) {
        explosions->Manage();
        plat::ClearRecordedCalls();
        explosions->Draw();
        shown.push_back(Calls(plat::DrawRecord::IMAGE).at(0).frame);
    }
    EXPECT_EQ(shown.front(), 0);
    EXPECT_EQ(shown.back(), 9);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(shown[49], 5);
    EXPECT_FLOAT_EQ(boom->x, 149);
    EXPECT_EQ(explosions->Count(), 1);
    explosions->Manage();
    EXPECT_EQ(explosions->Count(), 0);
}

TEST_F(PeripheryTest, GameObjectsLeavingTheScreenGoDuringTheWalk) {
    auto objects = plat::New<fw::TGameObjectList>();
    auto a = objects->AddNew(10, 10, Picture(4, 4));
    auto b = objects->AddNew(636, 10, Picture(4, 4));
    auto c = objects->AddNew(20, 10, Picture(4, 4));
    for (const auto& o : {a, b, c}) o->dx = 5;
    objects->Move();
    EXPECT_EQ(objects->Count(), 2);
    EXPECT_FALSE(objects->Contains(b));
    EXPECT_FLOAT_EQ(c->x, 25) << "the walk went on past the one that left";
    plat::ResetCollisions();
    objects->Collide();
    EXPECT_EQ(plat::CollideRect(25, 10, 1, 1, 1, 0).at(0), c);
    plat::ResetCollisions();
    objects->Kill();
    EXPECT_EQ(objects->Count(), 0);
}

TEST_F(PeripheryTest, ThePointersParticlesAreManagedWhileItIsOn) {
    auto& mouse = *fw::Game->Mouse;
    auto dot = Picture(2, 2);
    mouse.ParticleFunc = [&] {
        mouse.ParticleList->AddNew(mouse.x, mouse.y, dot, 0, 1, 0, 0, 0, 0, 0, 1, 0, 20, 0);
        return 1;
    };
    mouse.x = 50;
    mouse.y = 50;
    Ticks(3, [&] { mouse.Manage(); });
    EXPECT_EQ(mouse.ParticleList->Count(), 3);
    Ticks(3, [&] { mouse.Manage(); });
    EXPECT_EQ(mouse.ParticleList->Count(), 3) << "each lives 4 ticks, the one it was made in too";
    mouse.Draw();
    EXPECT_EQ(Calls(plat::DrawRecord::IMAGE).size(), 3u);
    mouse.Off();
    EXPECT_EQ(mouse.ParticleList->Count(), 0);
}

}  // namespace
