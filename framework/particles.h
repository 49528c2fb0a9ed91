#pragma once
// Three families of sprites that live in lists owned by the caller and take
// themselves out of their list when they die:
//   - TParticle: a short-lived sprite with a delay, fade-in / sustain /
//     fade-out, a life time, spin, growth, light blending, an optional
//     script of timed phases, a destination test, user hooks and a
//     generator that travels with it; held by a TParticleList.
//     TParticleGenerator emits particles at an interval through a user
//     function; TParticleGeneratorList holds generators.
//   - TExplosion: plays its frames once and goes; held by a TExplosionList.
//   - TGameObject: moves and goes when it leaves the screen; held by a
//     TGameObjectList, which can write its objects into a collision layer.
//
// A member refers to its list weakly: the list owns its members, and a list
// that is dropped frees them (and they it) without a Kill.  A list may be
// walked while its members remove themselves.

#include <functional>
#include <memory>

#include "framework/sprite.h"
#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

class TParticle;
class TParticleList;
class TParticleGenerator;
class TExplosionList;
class TGameObjectList;

class TParticlePhase : public plat::Object {
public:
    float Length = 0;  // ticks
    int Hidden = 0;
    float dx = 0, dy = 0;
    int SetCoords = 0;
    float SetX = 0, SetY = 0;
    float xgravity = 0, ygravity = 0;
    float FadeInMS = 0, FadeSustainMS = 0, FadeMS = 0;
    int DoRotate = 0;
    float RotationSpeed = 0;
    int SetAngle = 0;
    float Angle = 0;
    int DoScale = 0;
    float ScaleSpeed = 0;
    float Scale = 0;   // 0: keep
    int Alpha = -1;    // -1: keep
    std::function<void(TParticle&)> UserFunction;  // called when the phase ends

    void SetFade(float fadeInMs, float sustainMs, float fadeOutMs);
};

class TParticle : public TSprite {
public:
    std::weak_ptr<TParticleList> Particles;  // the owning list
    int Hidden = 0;
    float LifeCounter = 0;          // ticks left; 0: unlimited
    float FadeIn = 0;               // non-zero while fading in
    float FadeSustainCounter = 0;   // ticks of full opacity left before the fade-out
    float FadeCounter = 0;          // ticks into the fade-in, or left of the fade-out
    float FadeInLength = 0;
    float FadeLength = 0;
    int DoLightBlend = 0;
    int DoRotate = 0;               // 1 clockwise, -1 anticlockwise
    int DoScale = 0;
    int Data1 = 0, Data2 = 0, Data3 = 0;
    plat::Ref<plat::Object> DataObject;
    float FloatData1 = 0;
    plat::Ref<plat::TList<TParticlePhase>> PhaseList;
    plat::Ref<TParticlePhase> CurrentPhase;
    float PhaseCounter = 0;
    int NoOutOfBounds = 0;
    int KillOnFade = 1;
    int KillAfterAnim = 0;
    float DelayCounter = 0;
    std::function<void(TParticle&)> DelayFinished;
    int UpdateOriginalCoords = 0;   // 1: moves its stored home position instead
    std::function<void(TParticle&)> UserMove;  // replaces the normal movement
    std::function<void(TParticle&)> DestinationReached;
    int DestX = 0, DestY = 0;
    std::function<void(TParticle&)> UserKill;
    plat::Ref<TParticleGenerator> ParticleGenerator;
    plat::Ref<TParticle> AttachedParticle;
    int KillAttachedParticle = 1;

    static plat::Ref<TParticle> CreateSpecial(const plat::Ref<TGameImage>& image, float x, float y,
                                              float dx, float dy, float ygravity, float fadeMs,
                                              int lightBlend, int rotate, float rotationSpeed,
                                              float scale, float scaleSpeed, int lifeMs);
    void SetDelay(int ms);
    // A new phase appended to the script, for the caller to fill in.
    plat::Ref<TParticlePhase> AddPhase(int lengthMs);
    void StartPhases();
    void ApplyPhase(const plat::Ref<TParticlePhase>& phase);
    void SetFade(int fadeInMs, int sustainMs, int fadeOutMs);
    // 0 within a phase, 1 when the next began, -1 when the last one ended.
    int ManagePhases();
    void KillPhases();

    // One tick; 0 when the particle died early in it.
    int Move() override;
    void Draw() override;
    // Once only: a dead particle stays dead.
    void Kill() override;
    bool Killed() const { return killed_; }

private:
    bool killed_ = false;
};

class TParticleGenerator : public plat::Object {
public:
    int Active = 1;
    float x = 0, y = 0, dx = 0, dy = 0;  // position and drift per tick
    int Qty = 0;                         // particles still to make
    float Interval = 0;                  // ticks between particles
    float IntervalCounter = 0;
    std::function<void(TParticleGenerator&)> MakeParticleFunction;
    int Data1 = 0, Data2 = 0;

    // The first particle is made at once when makeNow is set (and counts).
    static plat::Ref<TParticleGenerator> Create(float x, float y, int qty, float intervalMs,
                                                std::function<void(TParticleGenerator&)> function,
                                                int data1, int data2, int makeNow);
    // -1 when not active, 1 on the tick it made its last particle, else 0.
    int Manage();
};

class TParticleGeneratorList : public plat::TList<TParticleGenerator> {
public:
    // Makes the first particle at once; the generator stays in the list only
    // while it has more to make.
    plat::Ref<TParticleGenerator> Add(float x, float y, int qty, float intervalMs,
                                      std::function<void(TParticleGenerator&)> function);
    void Manage();
};

class TParticleList : public plat::TList<TParticle> {
public:
    plat::Ref<TParticle> AddNew(int x, int y, const plat::Ref<TGameImage>& image, float dx, float dy,
                                float ygravity, float fadeMs, int lightBlend, int rotate,
                                float rotationSpeed, float scale, float scaleSpeed, int lifeMs,
                                int addFirst);
    void Draw();
    void Move();
    void Animate();
    // Move, then the frame animation; KillAfterAnim particles die at its end.
    void Manage();
    void FadeAll(int ms);
    void SetUseAlpha(int value);
    void SetBaseScale(float x, float y);
    void EnableUpdateOriginalCoords();
    void ScaleCoords();
    void AddOffsets(float x, float y);
    void ProcessScale(float scaleX, float scaleY, float offsetX, float offsetY);
    // Each particle into collision layer 1, itself as the id.
    void Collide();
};

class TExplosion : public TSprite {
public:
    std::weak_ptr<TExplosionList> Explosions;

    static plat::Ref<TExplosion> Create(const plat::Ref<TGameImage>& image, float x, float y);
    // Plays frames 0..frames-1 once over lengthMs.
    void StartAnim(int lengthMs, int frames);
    void Manage();
    void Kill() override;
};

class TExplosionList : public plat::TList<TExplosion> {
public:
    plat::Ref<TExplosion> AddNew(float x, float y, const plat::Ref<TGameImage>& image);
    void Draw();
    void Manage();
};

class TGameObject : public TSprite {
public:
    std::weak_ptr<TGameObjectList> GameObjects;

    static plat::Ref<TGameObject> Create(const plat::Ref<TGameImage>& image, float x, float y);
    // The sprite's move; off the screen it dies (and 0 comes back).
    int Move() override;
    void Kill() override;
};

class TGameObjectList : public plat::TList<TGameObject> {
public:
    plat::Ref<TGameObject> AddNew(float x, float y, const plat::Ref<TGameImage>& image);
    void Draw();
    void Move();
    // Each object into collision layer 1, itself as the id.
    void Collide();
    void Kill();
};

}  // namespace fw
