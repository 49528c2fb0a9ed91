#include "framework/particles.h"

#include <cmath>

#include "framework/banks.h"
#include "framework/game.h"
#include "framework/timing.h"
#include "platform/gfx/draw.h"

namespace fw {

namespace {

// Each member of a list into collision layer 1 with itself as the id.
template <class List>
void CollideAll(const List& list) {
    for (const auto& member : list)
        if (member->image && member->image->image)
            plat::CollideImage(member->image->image, std::trunc(member->x), std::trunc(member->y), 0, 0, 1,
                               member);
}

// Appends `member` to `list` and points it back at the list.
template <class List, class Member>
plat::Ref<Member> Join(List& list, plat::Ref<Member> member, std::weak_ptr<List> Member::*owner) {
    (*member).*owner = std::static_pointer_cast<List>(list.shared_from_this());
    list.AddLast(member);
    return member;
}

// Removes `member` from the list it refers to, and forgets the list.
template <class Member, class List>
void LeaveList(Member& member, std::weak_ptr<List>& list) {
    if (auto owner = list.lock()) owner->Remove(std::static_pointer_cast<Member>(member.shared_from_this()));
    list.reset();
}

}  // namespace

// --- TParticlePhase -----------------------------------------------------------------

void TParticlePhase::SetFade(float fadeInMs, float sustainMs, float fadeOutMs) {
    FadeInMS = fadeInMs;
    FadeSustainMS = sustainMs;
    FadeMS = fadeOutMs;
}

// --- TParticle -----------------------------------------------------------------------

plat::Ref<TParticle> TParticle::CreateSpecial(const plat::Ref<TGameImage>& image, float x, float y,
                                              float dx, float dy, float ygravity, float fadeMs,
                                              int lightBlend, int rotate, float rotationSpeed,
                                              float scale, float scaleSpeed, int lifeMs) {
    auto p = Place<TParticle>(image, x, y);
    p->dx = dx;
    p->dy = dy;
    p->ygravity = ygravity;
    if (lifeMs > 0) p->LifeCounter = TicksFromMs(static_cast<float>(lifeMs));
    p->FadeLength = p->FadeCounter = TicksFromMs(std::trunc(fadeMs));
    if (p->FadeLength > 0) p->UseAlpha = 1;
    p->DoLightBlend = lightBlend;
    p->DoRotate = rotate;
    p->RotationSpeed = rotationSpeed;
    p->ScaleX = p->ScaleY = scale;
    if (scaleSpeed != 0) {
        p->ScaleXSpeed = p->ScaleYSpeed = scaleSpeed;
        p->DoScale = 1;
    }
    p->active = 1;
    return p;
}

void TParticle::SetDelay(int ms) { DelayCounter = TicksFromMs(static_cast<float>(ms)); }

void TParticle::SetFade(int fadeInMs, int sustainMs, int fadeOutMs) {
    if (fadeInMs > 0) {
        FadeIn = 1;
        UseAlpha = 1;
        Alpha = 0;
    } else {
        FadeIn = 0;
    }
    FadeInLength = TicksFromMs(static_cast<float>(fadeInMs));
    FadeSustainCounter = TicksFromMs(static_cast<float>(sustainMs));
    FadeLength = TicksFromMs(static_cast<float>(fadeOutMs));
    if (FadeIn != 0) {
        FadeCounter = 0;
    } else {
        FadeCounter = FadeLength;
        UseAlpha = 1;
    }
}

plat::Ref<TParticlePhase> TParticle::AddPhase(int lengthMs) {
    if (!PhaseList) PhaseList = plat::New<plat::TList<TParticlePhase>>();
    auto phase = plat::New<TParticlePhase>();
    phase->Length = TicksFromMs(static_cast<float>(lengthMs));
    PhaseList->AddLast(phase);
    return phase;
}

void TParticle::StartPhases() {
    if (PhaseList && PhaseList->First()) ApplyPhase(PhaseList->First());
}

void TParticle::ApplyPhase(const plat::Ref<TParticlePhase>& phase) {
    if (!phase) return;
    PhaseCounter = 0;
    CurrentPhase = phase;
    Hidden = phase->Hidden;
    dx = phase->dx;
    dy = phase->dy;
    if (phase->SetCoords == 1) SetPosition(phase->SetX, phase->SetY);
    xgravity = phase->xgravity;
    ygravity = phase->ygravity;
    SetFade(static_cast<int>(phase->FadeInMS), static_cast<int>(phase->FadeSustainMS),
            static_cast<int>(phase->FadeMS));
    DoRotate = phase->DoRotate;
    RotationSpeed = phase->RotationSpeed;
    DoScale = phase->DoScale;
    ScaleXSpeed = ScaleYSpeed = phase->ScaleSpeed;
    if (phase->Scale != 0) ScaleX = ScaleY = phase->Scale;
    if (phase->Alpha != -1) Alpha = static_cast<float>(phase->Alpha);
    if (phase->SetAngle) Rotation = phase->Angle;
}

int TParticle::ManagePhases() {
    // The script runs once it has been started.
    if (!PhaseList || !CurrentPhase) return 0;
    PhaseCounter += Delta;
    if (PhaseCounter < CurrentPhase->Length) return 0;
    const plat::Ref<TParticlePhase> ended = CurrentPhase;
    if (ended->UserFunction) ended->UserFunction(*this);
    const auto link = PhaseList ? PhaseList->FindLink(ended) : nullptr;
    const auto next = link ? link->NextLink() : nullptr;
    if (!next) return -1;
    ApplyPhase(next->Value());
    return 1;
}

void TParticle::KillPhases() {
    if (PhaseList) PhaseList->Clear();
    PhaseList = nullptr;
    CurrentPhase = nullptr;
    PhaseCounter = 0;
}

int TParticle::Move() {
    // A kill takes the particle out of its list, which may hold the last
    // reference to it; the tick still runs to its end.
    const auto keep = shared_from_this();

    if (DelayCounter > 0) {
        DelayCounter -= Delta;
        if (DelayCounter > 0) {
            Hidden = 1;
            return 1;
        }
        DelayCounter = 0;
        Hidden = 0;
        if (PhaseList) StartPhases();
        if (DelayFinished) DelayFinished(*this);
    }

    if (PhaseList && ManagePhases() == -1) {
        Kill();
        return 0;
    }

    if (UserMove) UserMove(*this);
    else if (UpdateOriginalCoords == 1) MoveOriginalCoords();
    else TSprite::Move();

    if (DestinationReached) {
        const float destX = static_cast<float>(DestX), destY = static_cast<float>(DestY);
        const bool xReached = (dx <= 0 && x <= destX) || (dx > 0 && x >= destX);
        const bool yReached = (dy <= 0 && y <= destY) || (dy > 0 && y >= destY);
        if (xReached && yReached) DestinationReached(*this);
    }

    if (!NoOutOfBounds && OutOfBounds()) {
        Kill();
        return 0;
    }

    // From here the tick runs to its end even when the particle dies on
    // the way (Kill does its work only once).
    if (FadeIn != 0) {
        FadeCounter += Delta;
        if (FadeCounter >= FadeInLength) {
            FadeCounter = FadeLength;
            FadeIn = 0;
            Alpha = 1;
        }
    } else if (FadeSustainCounter > 0) {
        FadeSustainCounter -= Delta;
        if (!(FadeSustainCounter > 0)) {
            FadeSustainCounter = 0;
            FadeCounter = FadeLength;
        }
    } else if (FadeCounter > 0) {
        FadeCounter -= Delta;
        if (!(FadeCounter > 0)) {
            Alpha = 0;
            if (KillOnFade) Kill();
        }
    }

    if (DoRotate > 0) {
        Rotation += RotationSpeed * Delta;
        if (Rotation >= 360) Rotation -= 360;
    } else if (DoRotate < 0) {
        Rotation -= RotationSpeed * Delta;
        if (Rotation < 0) Rotation += 360;
    }

    if (DoScale == 1) {
        ScaleX += ScaleXSpeed * Delta;
        ScaleY += ScaleYSpeed * Delta;
        if (ScaleX <= 0 || ScaleY <= 0) Kill();
    }

    if (LifeCounter > 0) {
        LifeCounter -= Delta;
        if (!(LifeCounter > 0)) Kill();
    }

    if (ParticleGenerator) ParticleGenerator->Manage();
    return 1;
}

void TParticle::Draw() {
    if (active == 0 || Hidden == 1) return;
    if (FadeCounter > 0) {
        const float length = FadeIn != 0 ? FadeInLength : FadeLength;
        if (length > 0) Alpha = FadeCounter / length;
    }
    if (DoLightBlend) {
        plat::SetBlend(plat::LIGHTBLEND);
        TSprite::Draw();
        plat::SetBlend(plat::ALPHABLEND);
    } else {
        TSprite::Draw();
    }
}

void TParticle::Kill() {
    if (killed_) return;
    killed_ = true;
    const auto keep = shared_from_this();
    TSprite::Kill();
    if (UserKill) UserKill(*this);
    active = 0;
    LeaveList(*this, Particles);
    ParticleGenerator = nullptr;
    // Dropped before it dies, so particles attached in a ring end.
    const plat::Ref<TParticle> attached = std::move(AttachedParticle);
    if (attached && KillAttachedParticle == 1) attached->Kill();
    DataObject = nullptr;
}

// --- generators ---------------------------------------------------------------------

plat::Ref<TParticleGenerator> TParticleGenerator::Create(float x, float y, int qty, float intervalMs,
                                                         std::function<void(TParticleGenerator&)> function,
                                                         int data1, int data2, int makeNow) {
    auto g = plat::New<TParticleGenerator>();
    g->x = x;
    g->y = y;
    g->Qty = qty - 1;
    g->Interval = g->IntervalCounter = TicksFromMs(intervalMs);
    g->MakeParticleFunction = std::move(function);
    g->Data1 = data1;
    g->Data2 = data2;
    if (makeNow && g->MakeParticleFunction) g->MakeParticleFunction(*g);
    return g;
}

int TParticleGenerator::Manage() {
    if (!Active) return -1;
    x += dx * Delta;
    y += dy * Delta;
    // Nothing left to make (asked for one, made at once): done, rather than
    // counting down past 0 for ever.
    if (Qty <= 0) {
        Active = 0;
        return 1;
    }
    if (!(IntervalCounter > 0)) return 0;
    IntervalCounter -= Delta;
    while (IntervalCounter <= 0) {
        IntervalCounter += Interval;
        --Qty;
        if (MakeParticleFunction) MakeParticleFunction(*this);
        if (Qty <= 0) {
            Active = 0;
            return 1;
        }
    }
    return 0;
}

plat::Ref<TParticleGenerator> TParticleGeneratorList::Add(float x, float y, int qty, float intervalMs,
                                                          std::function<void(TParticleGenerator&)> function) {
    auto g = TParticleGenerator::Create(x, y, qty, intervalMs, std::move(function), 0, 0, 1);
    if (g->Qty > 0) AddLast(g);
    return g;
}

void TParticleGeneratorList::Manage() {
    for (auto it = begin(); it != end(); ++it)
        if ((*it)->Manage() == 1) it.link()->Remove();
}

// --- TParticleList ------------------------------------------------------------------

plat::Ref<TParticle> TParticleList::AddNew(int x, int y, const plat::Ref<TGameImage>& image, float dx, float dy,
                                           float ygravity, float fadeMs, int lightBlend, int rotate,
                                           float rotationSpeed, float scale, float scaleSpeed, int lifeMs,
                                           int addFirst) {
    auto p = TParticle::CreateSpecial(image, static_cast<float>(x), static_cast<float>(y), dx, dy, ygravity,
                                      fadeMs, lightBlend, rotate, rotationSpeed, scale, scaleSpeed, lifeMs);
    p->Particles = std::static_pointer_cast<TParticleList>(shared_from_this());
    if (addFirst) AddFirst(p);
    else AddLast(p);
    return p;
}

void TParticleList::Draw() {
    for (const auto& p : *this) p->Draw();
}

void TParticleList::Move() {
    for (const auto& p : *this) p->Move();
}

void TParticleList::Animate() {
    for (const auto& p : *this)
        if (p->DelayCounter == 0) p->ManageAnim();
}

void TParticleList::Manage() {
    for (const auto& p : *this) {
        p->Move();
        if (p->DelayCounter == 0 && p->ManageAnim() == 1 && p->KillAfterAnim == 1) p->Kill();
    }
}

void TParticleList::FadeAll(int ms) {
    for (const auto& p : *this) {
        p->FadeLength = p->FadeCounter = TicksFromMs(static_cast<float>(ms));
        p->UseAlpha = 1;
    }
}

void TParticleList::SetUseAlpha(int value) {
    for (const auto& p : *this) p->UseAlpha = value;
}

void TParticleList::SetBaseScale(float sx, float sy) {
    for (const auto& p : *this) {
        p->BaseScaleX = sx;
        p->BaseScaleY = sy;
    }
}

void TParticleList::EnableUpdateOriginalCoords() {
    for (const auto& p : *this) {
        if (p->UpdateOriginalCoords == 1) continue;
        p->StoreOriginalCoords();
        p->UpdateOriginalCoords = 1;
    }
}

void TParticleList::ScaleCoords() {
    for (const auto& p : *this) p->ScaleOriginalCoords();
}

void TParticleList::AddOffsets(float ox, float oy) {
    for (const auto& p : *this) {
        p->x += ox;
        p->y += oy;
    }
}

void TParticleList::ProcessScale(float scaleX, float scaleY, float offsetX, float offsetY) {
    for (const auto& p : *this) {
        p->BaseScaleX = scaleX;
        p->BaseScaleY = scaleY;
        p->x = scaleX * p->ox + offsetX;
        p->y = scaleY * p->oy + offsetY;
    }
}

void TParticleList::Collide() { CollideAll(*this); }

// --- explosions --------------------------------------------------------------------

plat::Ref<TExplosion> TExplosion::Create(const plat::Ref<TGameImage>& image, float x, float y) {
    return Place<TExplosion>(image, x, y);
}

void TExplosion::StartAnim(int lengthMs, int frames) {
    AnimLength = static_cast<int>(TicksFromMs(static_cast<float>(lengthMs)));
    AnimCounter = static_cast<float>(AnimLength);
    FramesTotal = frames;
}

void TExplosion::Manage() {
    const auto keep = shared_from_this();
    TSprite::Move();
    ManageScale();
    ManageRotation();
    AnimCounter -= Delta;
    if (!(AnimCounter > 0)) Kill();
}

void TExplosion::Kill() {
    TSprite::Kill();
    LeaveList(*this, Explosions);
}

plat::Ref<TExplosion> TExplosionList::AddNew(float x, float y, const plat::Ref<TGameImage>& image) {
    return Join(*this, TExplosion::Create(image, x, y), &TExplosion::Explosions);
}

void TExplosionList::Draw() {
    for (const auto& e : *this) e->Draw();
}

void TExplosionList::Manage() {
    for (const auto& e : *this) e->Manage();
}

// --- game objects ------------------------------------------------------------------

plat::Ref<TGameObject> TGameObject::Create(const plat::Ref<TGameImage>& image, float x, float y) {
    return Place<TGameObject>(image, x, y);
}

int TGameObject::Move() {
    TSprite::Move();
    if (!OutOfBounds()) return 1;
    Kill();
    return 0;
}

void TGameObject::Kill() {
    TSprite::Kill();
    LeaveList(*this, GameObjects);
}

plat::Ref<TGameObject> TGameObjectList::AddNew(float x, float y, const plat::Ref<TGameImage>& image) {
    return Join(*this, TGameObject::Create(image, x, y), &TGameObject::GameObjects);
}

void TGameObjectList::Draw() {
    for (const auto& o : *this) o->Draw();
}

void TGameObjectList::Move() {
    for (const auto& o : *this) o->Move();
}

void TGameObjectList::Collide() { CollideAll(*this); }

void TGameObjectList::Kill() {
    for (const auto& o : *this) o->Kill();
}

}  // namespace fw
