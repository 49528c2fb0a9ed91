#include "game/play/shots.h"

#include <algorithm>
#include <cmath>

#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/field.h"
#include "game/play/hero.h"
#include "music/sid_stream.h"
#include "platform/gfx/draw.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

int MapSolid(float x, float y) {
    return GameMap ? GameMap->MapCollision(static_cast<int>(x), static_cast<int>(y)) : 0;
}

void Append(const plat::Ref<plat::Object>& object) { ShotList->AddLast(object); }

}  // namespace

int ScreenZoneOf(float x, int sy) {
    int c = static_cast<int>(std::ceil(x / 64.0f));
    c = std::clamp(c, 1, 5);
    return c + (sy > 80 ? 5 : 0);
}

void ClearShotList() {
    ShotList->Clear();
    GrenadeReady = 1;
}

// --- T_Bala -----------------------------------------------------------------------

T_Bala::T_Bala()
    : exp_image(ShotBurstImage), bala_baz_img(EnemyImage), bala_baz_exp_img(GrenadeImage) {}

void T_Bala::f_Create_Bala_Dax() {
    if (!Hero) return;
    auto b = plat::New<T_Bala>();
    b->owned = BALA_HERO;
    b->dir = Direction == DIR_NONE ? LastDirection : Direction;
    const float hx = Hero->x, hy = Hero->y;
    const float bottom = static_cast<float>(ViewTop + 155);
    switch (b->dir) {
    case DIR_UP_LEFT: b->x = hx + 2; b->y = hy + 8; b->yfinalbala = b->y - 80; break;
    case DIR_UP: b->x = hx + 16; b->y = hy + 2; b->yfinalbala = b->y - 80; break;
    case DIR_UP_RIGHT: b->x = hx + 20; b->y = hy + 7; b->yfinalbala = b->y - 80; break;
    case DIR_LEFT: b->x = hx - 2; b->y = hy + 9; b->xfinalbala = std::max(b->x - 110, 0.0f); break;
    case DIR_RIGHT: b->x = hx + 22; b->y = hy + 9; b->xfinalbala = std::min(b->x + 110, 320.0f); break;
    case DIR_DOWN_LEFT: b->x = hx + 2; b->y = hy + 22; b->yfinalbala = bottom; break;
    case DIR_DOWN: b->x = hx + 6; b->y = hy + 22; b->yfinalbala = bottom; break;
    case DIR_DOWN_RIGHT: b->x = hx + 22; b->y = hy + 22; b->yfinalbala = bottom; break;
    default: break;
    }
    if (b->y >= 0) Append(b);
}

void T_Bala::f_Create_Bala_Enemigo(int dir, float x, float y, int kind) {
    auto b = plat::New<T_Bala>();
    b->owned = kind;
    b->dir = dir;
    switch (dir) {
    case DIR_UP_LEFT: b->x = x + 2; b->y = y + 8; b->yfinalbala = b->y - 80; break;
    case DIR_UP: b->x = x + 16; b->y = y - 2; b->yfinalbala = b->y - 80; break;
    case DIR_UP_RIGHT: b->x = x + 20; b->y = y + 7; b->yfinalbala = b->y - 80; break;
    case DIR_LEFT: b->x = x - 2; b->y = y + 9; b->xfinalbala = std::max(b->x - 100, 0.0f); break;
    case DIR_RIGHT: b->x = x + 22; b->y = y + 9; b->xfinalbala = std::min(b->x + 100, 320.0f); break;
    case DIR_DOWN_LEFT: b->x = x + 2; b->y = y + 22; b->yfinalbala = b->y + 80; break;
    case DIR_DOWN: b->x = x + 6; b->y = y + 22; b->yfinalbala = b->y + 80; break;
    case DIR_DOWN_RIGHT: b->x = x + 22; b->y = y + 22; b->yfinalbala = b->y + 80; break;
    default: b->x = x; b->y = y; break;
    }
    if (kind == BALA_ENEMY_THROUGH) b->yfinalbala = b->y + 110;
    b->v_bala_enemigos = ByStage(3, 0.25f, 8, 0.3f, 0.35f);
    Append(b);
}

void T_Bala::f_Create_Bala_Bazookero(int dir, float x, float y) {
    auto b = plat::New<T_Bala>();
    b->owned = BALA_BAZOOKA;
    b->dir = dir;
    b->x = x - 4;
    b->y = y + 8;
    b->yfinalbala = b->y + 120;
    b->v_bala_bazooka = ByStage(3, 0.4f, 8, 0.5f, 0.55f);
    Append(b);
}

void T_Bala::f_Create_Bala_Caseta(int dir, float x, float y) {
    auto b = plat::New<T_Bala>();
    b->owned = BALA_HUT;
    b->dir = dir;
    if (dir == DIR_DOWN_RIGHT) {
        b->x = x + 38;
        b->y = y + 40;
    } else {
        b->x = x - 10;
        b->y = y + 42;
    }
    b->yfinalbala = b->y + 90;
    b->v_bala_caseta = ByStage(4, 0.35f, 8, 0.4f, 0.45f);
    Append(b);
}

float T_Bala::Speed() const {
    switch (owned) {
    case BALA_HERO: return v_bala_dax;
    case BALA_ENEMY:
    case BALA_ENEMY_THROUGH: return v_bala_enemigos;
    case BALA_BAZOOKA: return v_bala_bazooka;
    case BALA_HUT: return v_bala_caseta;
    default: return 0.0f;
    }
}

bool T_Bala::FlightOpen() const {
    if (dir >= DIR_DOWN_LEFT) return MapSolid(x, y + 16) == 0;
    return MapSolid(x, y) == 0;
}

bool T_Bala::WaterPass() const {
    return (Level == 5 || Level == 6) && ViewTop == 0 && MapSolid(x, y) == 1 &&
           TileFlagAt(static_cast<int>(x), static_cast<int>(y)) == 1;
}

void T_Bala::MoveAlong(float v) {
    const float s = v * fw::Delta;
    switch (dir) {
    case DIR_UP_LEFT: x -= s; y -= s; break;
    case DIR_UP: y -= s; break;
    case DIR_UP_RIGHT: x += s; y -= s; break;
    case DIR_LEFT: x -= s; break;
    case DIR_RIGHT: x += s; break;
    case DIR_DOWN_LEFT: x -= s; y += s; break;
    case DIR_DOWN: y += s; break;
    case DIR_DOWN_RIGHT: x += s; y += s; break;
    default: break;
    }
}

void T_Bala::RemoveSelf() { ShotList->Remove(shared_from_this()); }

void T_Bala::m_Update_Bala() {
    const float v = Speed();
    const bool straightKind = owned == BALA_HERO || owned == BALA_ENEMY;

    switch (dir) {
    case DIR_UP_LEFT:
    case DIR_UP:
    case DIR_UP_RIGHT:
    case DIR_LEFT:
    case DIR_RIGHT: {
        bool flying;
        if (dir <= DIR_UP_RIGHT)
            flying = y > yfinalbala;
        else if (dir == DIR_LEFT)
            flying = x > xfinalbala;
        else
            flying = x < xfinalbala;
        if (flying && FlightOpen()) {
            if (straightKind) MoveAlong(v);
        } else if (straightKind && WaterPass()) {
            MoveAlong(v);
        } else {
            m_bala_explota();
        }
        break;
    }
    case DIR_DOWN_LEFT:
    case DIR_DOWN:
    case DIR_DOWN_RIGHT:
        if (owned == BALA_ENEMY_THROUGH) {
            if (y < yfinalbala)
                MoveAlong(v);
            else
                m_bala_explota();
        } else if (y < yfinalbala && FlightOpen()) {
            if (owned == BALA_HUT) {
                const float s = v * fw::Delta;
                if (dir == DIR_DOWN_LEFT) { x -= 2 * s; y += s; }
                if (dir == DIR_DOWN_RIGHT) { x += 2 * s; y += s; }
            } else {
                MoveAlong(v);
            }
        } else if (owned == BALA_HERO) {
            RemoveSelf();  // a downward shot into a wall leaves no burst
            return;
        } else if (owned == BALA_ENEMY) {
            if (WaterPass())
                MoveAlong(v);
            else
                m_bala_explota();
        } else if (owned == BALA_BAZOOKA || (owned == BALA_HUT && dir != DIR_DOWN)) {
            m_bazooka_explota();
        }
        break;
    default:
        break;
    }

    const float sy = y - static_cast<float>(ViewTop);
    if (x < 0 || x > 320 || sy < 0 || sy > 160 || y < 0 || y > MapBottom()) RemoveSelf();
}

void T_Bala::m_bala_explota() {
    if (x > 0 && x < 320) {
        explota = 1;
        if (animdelay < 0) {
            frame_exp += 1;
            animdelay = 4.0f;
            if (frame_exp > 3) RemoveSelf();
        }
        animdelay -= fw::Delta;
    } else {
        RemoveSelf();
    }
}

void T_Bala::m_bazooka_explota() {
    explota = 1;
    if (animdelay < 0) {
        frame_exp += 1;
        animdelay = 14.0f;
        if (frame_exp > 3) RemoveSelf();
    }
    animdelay -= fw::Delta;
}

void T_Bala::m_Draw_Bala() {
    const float sy = y - static_cast<float>(ViewTop) + kPlayFieldTop;
    const int cell = std::clamp(frame_exp, 0, 3);
    switch (owned) {
    case BALA_HERO:
    case BALA_ENEMY:
    case BALA_ENEMY_THROUGH:
        if (explota == 0)
            plat::DrawRect(x, sy, 2, 2);
        else
            plat::DrawImage(exp_image, x - 11, y - 10 - static_cast<float>(ViewTop) + kPlayFieldTop,
                            cell);
        break;
    case BALA_BAZOOKA:
        if (explota == 0) {
            if (dir == DIR_DOWN) plat::DrawImage(bala_baz_img, x, sy, bala_baz_anim[0]);
            if (dir == DIR_DOWN_LEFT) plat::DrawImage(bala_baz_img, x, sy, bala_baz_anim[1]);
            if (dir == DIR_DOWN_RIGHT) plat::DrawImage(bala_baz_img, x, sy, bala_baz_anim[2]);
        } else {
            plat::DrawImage(bala_baz_exp_img, x, sy, anim_gr_expl[static_cast<std::size_t>(cell)]);
        }
        break;
    case BALA_HUT:
        if (explota == 0)
            plat::DrawImage(GrenadeImage, x, sy, 8);
        else
            plat::DrawImage(bala_baz_exp_img, x, sy, anim_gr_expl[static_cast<std::size_t>(cell)]);
        break;
    default:
        break;
    }
}

// --- T_Granada --------------------------------------------------------------------

T_Granada::T_Granada() : gr_image(GrenadeImage) {}

void T_Granada::f_create_granada_Dax() {
    if (!Hero) return;
    auto g = plat::New<T_Granada>();
    g->owned = GRANADA_HERO;
    g->x = Hero->x;
    g->y = g->yinigr = Hero->y;
    Append(g);
}

void T_Granada::f_create_granada_enemigo(float x, float y) { CreateArc(x, y, GRANADA_ENEMY); }

void T_Granada::f_create_granada_canyon(float x, float y) { CreateArc(x, y, GRANADA_CANNON); }

void T_Granada::CreateArc(float x, float y, int kind) {
    if (!Hero) return;
    auto g = plat::New<T_Granada>();
    g->owned = kind;
    g->x = x;
    g->y = g->yinigr = y;
    g->zona_origen = ScreenZoneOf(x, static_cast<int>(y - static_cast<float>(ViewTop)));
    g->zona_final = ScreenZoneOf(Hero->x, static_cast<int>(Hero->y - static_cast<float>(ViewTop)));
    if (kind == GRANADA_ENEMY && g->zona_origen > 5 && g->zona_final <= 5) g->vy = -12;
    g->vx = GrenadeSpeedTable[static_cast<std::size_t>(g->zona_origen)]
                             [static_cast<std::size_t>(g->zona_final)];
    g->yfinalgr = static_cast<float>(ViewTop + (g->zona_final > 5 ? 120 : 40));
    if (g->zona_origen != g->zona_final) Append(g);
}

void T_Granada::ArcStep() {
    // The arc advances in whole steps paced by `cont`, so the step itself is
    // not scaled by Delta.
    x += static_cast<float>(vx);
    y += static_cast<float>(vy);
    if (y > yinigr)
        frame_tira = 0;
    else if (y > yinigr - 20)
        frame_tira = 1;
    else
        frame_tira = 2;
    if (vy < 10) vy = std::min(vy + ay, 10);
    if (zona_final > 5) {
        if (y >= yfinalgr) explota = 1;
    } else if (y >= yfinalgr && vy > 0) {
        explota = 1;
    }
}

void T_Granada::m_update_granada() {
    if (owned == GRANADA_HERO) {
        if (Hero && Hero->anim_tirar_granada == 1) return;
        if (explota == 0) {
            y -= 0.8f * fw::Delta;
            if (y > yinigr - 40)
                frame_ind = 0;
            else if (y > yinigr - 60)
                frame_ind = 1;
            else if (y > yinigr - 80)
                frame_ind = 2;
            else
                explota = 1;
        } else {
            m_granada_explota();
        }
        return;
    }
    cont += fw::Delta;
    if (cont > 8.0f) cont = 0;
    if (explota == 0) {
        if (cont == 0) ArcStep();
    } else {
        m_granada_explota();
    }
}

void T_Granada::m_granada_explota() {
    if (animdelay < 0) {
        frame_exp += 1;
        animdelay = 14.0f;
        if (frame_exp > 3) {
            if (owned == GRANADA_HERO) GrenadeReady = 1;
            ShotList->Remove(shared_from_this());
        }
    }
    animdelay -= fw::Delta;
}

void T_Granada::m_draw_granada() {
    const float sy = y - static_cast<float>(ViewTop) + kPlayFieldTop;
    const auto cell = static_cast<std::size_t>(std::clamp(frame_exp, 0, 3));
    const auto tira = static_cast<std::size_t>(std::clamp(frame_tira, 0, 2));
    switch (owned) {
    case GRANADA_HERO:
        plat::DrawImage(gr_image, x, sy, explota == 0 ? frame_ind : anim_gr_expl[cell]);
        break;
    case GRANADA_ENEMY:
        plat::DrawImage(gr_image, x, sy, explota == 0 ? anim_gr[tira] : anim_bala_c_expl[cell]);
        break;
    case GRANADA_CANNON:
        // Drawn 26 rows higher than every other actor at the same place.
        plat::DrawImage(gr_image, x, y - static_cast<float>(ViewTop),
                        explota == 0 ? anim_bala_canyon[tira] : anim_bala_c_expl[cell]);
        break;
    default:
        break;
    }
}

}  // namespace game
