#include "game/play/hero.h"

#include <cmath>
#include <cstdlib>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/game.h"
#include "framework/timing.h"
#include "game/front/name_entry.h"
#include "game/globals.h"
#include "game/play/checkpoints.h"
#include "game/play/enemies/enemy.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/field.h"
#include "game/play/fires.h"
#include "game/play/script/make_actor.h"
#include "game/play/script/spawn_script.h"
#include "game/play/shots.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/gfx/draw.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

// The hero's own box for the hit tests.
struct Box {
    int x, y, w, h;
};

bool Overlaps(const Box& a, const Box& b) {
    return RectsOverlap(a.x, a.y, a.w, a.h, b.x, b.y, b.w, b.h) == 1;
}

void PauseMusic() {
    if (SidMusic) SidMusic->Pause();
}
void ResumeMusic() {
    if (SidMusic) SidMusic->Play();
}
void StopMusic() {
    if (SidMusic) SidMusic->Stop();
}

}  // namespace

void CheckLevelExit() {
    if (!Hero) return;
    if (ViewTop == 0 && GateWaveCounter <= kGateWaveEnd && EnemyList->IsEmpty() &&
        Hero->estado != HERO_FORTRESS_REACHED && Hero->estado != HERO_FORTRESS_BURNING) {
        Hero->estado = HERO_LEAVING;
        if (!AreaTablesOf(Level).huts.empty()) HutList->Clear();
    }
}

// --- T_Dax ------------------------------------------------------------------------

T_Dax::T_Dax() {
    y = static_cast<float>(ViewTop + 124);
    y_old = ViewTop + 124;
    Image = HeroImage;
    anim_granada = GrenadeThrowImage;
    anim_muerto[0] = 0;
    for (int i = 1; i <= 8; ++i) anim_muerto[i] = 26;
    for (int i = 9; i < 25; ++i) anim_muerto[i] = 27;
    anim_muerto_caido[0] = 0;
    for (int i = 1; i <= 5; ++i) anim_muerto_caido[i] = 28;
    for (int i = 6; i < 25; ++i) anim_muerto_caido[i] = 29;
    if (SoundBank) fuego_sound = SoundBank->Find("snd7");
}

void T_Dax::m_PlayDeadSound() { PlayGameSound(dead_sound); }
void T_Dax::m_PlayGrenadeThrowSound() { PlayGameSound(grenade_throw_sound); }

void T_Dax::m_paso_a_estado_muerto(int kind) {
    if (kind == HERO_SHOT) estado = HERO_SHOT;
    if (kind == HERO_FALLEN) estado = HERO_FALLEN;
    PauseMusic();
    m_PlayDeadSound();
    Frame_ind = 0;
}

void T_Dax::m_update_dax() {
    const float e = ViewTop > 0 ? 108.0f : 54.0f;
    if (estado == HERO_PLAYING && GodMode == 0) TestHits();

    switch (estado) {
    case HERO_PLAYING:
        Walk(e);
        WalkAnimation();
        ThrowPose();
        break;
    case HERO_LEAVING:
        Leave();
        break;
    case HERO_SHOT:
    case HERO_FALLEN:
        Dying();
        break;
    case HERO_FORTRESS_REACHED:
        FortressReached();
        break;
    case HERO_FORTRESS_BURNING:
        FortressBurning();
        break;
    default:  // entering, level left
        break;
    }
}

void T_Dax::TestHits() {
    const Box me{static_cast<int>(x + 6), static_cast<int>(y + 4), 12, 12};

    for (const auto& object : *ShotList) {
        auto* bala = dynamic_cast<T_Bala*>(object.get());
        if (!bala) continue;
        const int bx = static_cast<int>(bala->x), by = static_cast<int>(bala->y);
        if (bala->owned == BALA_ENEMY || bala->owned == BALA_ENEMY_THROUGH) {
            if (Overlaps(me, {bx, by, 2, 2})) {
                ShotList->Remove(object);
                m_paso_a_estado_muerto(HERO_SHOT);
                break;
            }
        } else if (bala->owned == BALA_BAZOOKA) {
            if (Overlaps(me, {static_cast<int>(bala->x + 8), static_cast<int>(bala->y + 7), 8, 6})) {
                m_paso_a_estado_muerto(HERO_SHOT);
                break;
            }
        } else if (bala->owned == BALA_HUT) {
            if (Overlaps(me, {static_cast<int>(bala->x + 8), static_cast<int>(bala->y + 9), 6, 5})) {
                m_paso_a_estado_muerto(HERO_SHOT);
                break;
            }
        }
    }

    if (estado == HERO_PLAYING) {
        for (const auto& object : *ShotList) {
            auto* granada = dynamic_cast<T_Granada*>(object.get());
            if (!granada || granada->owned != GRANADA_ENEMY || granada->explota != 1) continue;
            if (Overlaps(me, {static_cast<int>(granada->x + 2), static_cast<int>(granada->y + 2), 20,
                              17})) {
                m_paso_a_estado_muerto(HERO_SHOT);
                break;
            }
        }
    }

    if (estado == HERO_PLAYING) {
        // Enemies first, then vehicles in the same tick whatever the first
        // test found: touching both starts the death twice.
        if (EnemyTouchesHero(me.x, me.y, me.w, me.h)) m_paso_a_estado_muerto(HERO_SHOT);
        if (VehicleTouches(me.x, me.y, me.w, me.h)) m_paso_a_estado_muerto(HERO_SHOT);
    }
}

void T_Dax::Blocked(int px, int py, bool silent) {
    if (TileFlagAt(px, py) != 1) return;
    if (silent)
        estado = HERO_FALLEN;  // the up-left fall below the margin: no sound, no pause
    else
        m_paso_a_estado_muerto(HERO_FALLEN);
}

void T_Dax::ScrollStep(float e) {
    if (ViewTop <= 0) return;
    y -= speed * fw::Delta;
    if (std::fabs(static_cast<float>(y_old) - y) > 0.8f) {
        ViewTop -= 1;
        LastScrollTime = PlayMilliSecs();
        y = static_cast<float>(ViewTop) + e;
        y_old = static_cast<int>(y);
    }
}

void T_Dax::Walk(float e) {
    const float sy = y - static_cast<float>(ViewTop);
    const float step = speed * fw::Delta;
    const float right = static_cast<float>(320 - size - 3);
    const float bottom = static_cast<float>(160 - size);

    // Probes the map at (x + dx, y + dy); true when the way is free.
    auto probe = [&](float dx, float dy, int& px, int& py) {
        px = static_cast<int>(x + dx);
        py = static_cast<int>(y + dy);
        return !GameMap || GameMap->MapCollision(px, py) == 0;
    };
    int px = 0, py = 0;

    switch (Direction) {
    case DIR_UP_LEFT:
        if (x > 2 && sy > e) {
            if (probe(2, 15, px, py)) {
                x -= step * d;
                y -= step;
            } else {
                Blocked(px, py, true);
            }
        } else if (x > 2) {
            if (probe(2, 15, px, py)) {
                x -= step * d;
                ScrollStep(e);
            } else {
                Blocked(px, py, false);
            }
        }
        break;
    case DIR_UP:
        if (probe(12, 15, px, py)) {
            if (sy > e)
                y -= step;
            else
                ScrollStep(e);
        } else {
            Blocked(px, py, false);
        }
        break;
    case DIR_UP_RIGHT:
        if (x < right) {
            if (probe(22, 15, px, py)) {
                x += step * d;
                if (sy > e)
                    y -= step;
                else
                    ScrollStep(e);
            } else {
                Blocked(px, py, false);
            }
        }
        break;
    case DIR_LEFT:
        if (x > 2) {
            if (probe(2, 16, px, py))
                x -= step * rl;
            else
                Blocked(px, py, false);
        }
        break;
    case DIR_RIGHT:
        if (x < right) {
            if (probe(22, 16, px, py))
                x += step * rl;
            else
                Blocked(px, py, false);
        }
        break;
    case DIR_DOWN_LEFT:
        if (x > 2 && sy < bottom) {
            if (probe(2, 21, px, py)) {
                x -= step * d;
                y += step;
            } else {
                Blocked(px, py, false);
            }
        }
        break;
    case DIR_DOWN:
        if (sy < bottom) {
            if (probe(12, 21, px, py))
                y += step;
            else
                Blocked(px, py, false);
        }
        break;
    case DIR_DOWN_RIGHT:
        if (x < right && sy < bottom) {
            if (probe(22, 21, px, py)) {
                x += step * d;
                y += step;
            } else {
                Blocked(px, py, false);
            }
        }
        break;
    default:
        break;
    }
}

void T_Dax::WalkAnimation() {
    const int last = (Direction == DIR_LEFT || Direction == DIR_RIGHT) ? 3 : 2;
    if (AnimDelay < 0) {
        Frame_ind += 1;
        AnimDelay = 24.0f;
        if (Frame_ind > last) Frame_ind = 0;
    }
    // The counters run on the time of play, so a partial tick counts in part.
    AnimDelay -= fw::Delta;
}

void T_Dax::ThrowPose() {
    if (anim_tirar_granada != 1) return;
    if (AnimDelaygr < 0) {
        frame_gr += 1;
        AnimDelaygr = 7.0f;
        if (frame_gr > 2) {
            anim_tirar_granada = 0;
            Direction = DIR_UP;
            LastDirection = DIR_UP;
            T_Granada::f_create_granada_Dax();
            frame_gr = 0;
        }
    }
    AnimDelaygr -= fw::Delta;
}

void T_Dax::Leave() {
    const float step = speed * fw::Delta;
    if (x > 154) {
        Direction = DIR_LEFT;
        x -= step * rl;
    } else if (x < 150) {
        Direction = DIR_RIGHT;
        x += step * rl;
    } else {
        Direction = DIR_UP;
        y -= step;
    }
    if (y < -21 && !IsFortressArea(Level)) {
        estado = HERO_LEVEL_LEFT;
        StopMusic();
        Go(SCREEN_LEVEL, SCREEN_AREA_COMPLETE);
    } else if (IsFortressArea(Level) && y < 0) {
        estado = HERO_FORTRESS_REACHED;
    }
    WalkAnimation();
}

void T_Dax::Dying() {
    if (AnimDelay < 0) {
        Frame_ind += 1;
        AnimDelay = 16.0f;
        if (Frame_ind > 24) DeathOver();
    }
    AnimDelay -= fw::Delta;
}

void T_Dax::DeathOver() {
    Frame_ind = 0;
    ClearShotList();
    // Throwing is allowed again once the shots are gone, so a throw the death
    // interrupted goes with them instead of following the restart.
    anim_tirar_granada = 0;
    frame_gr = 0;
    EnemyList->Clear();
    if (ViewTop == 0) ResetSpawnScript();  // the gate wave comes again
    if (Lives > 1) {
        if (!InfiniteLives) Lives -= 1;
        EnemyList->Clear();
        RestartFromCheckpoint();
        ResumeMusic();
    } else if (!InfiniteLives) {
        if (Score > HiScore) HiScore = Score;
        StopMusic();
        Go(SCREEN_LEVEL, ScoreQualifiesForTable() == 1 ? SCREEN_NAME_ENTRY : SCREEN_TITLE);
    }
}

void T_Dax::FortressReached() {
    for (const auto& call : FortressFires()) MakeActor(call);
    GuardList->Clear();
    estado = HERO_FORTRESS_BURNING;
    tiempo = PlayMilliSecs();
    StopMusic();
    PlayGameSound(fuego_sound);
}

void T_Dax::FortressBurning() {
    if (std::fabs(PlayMilliSecs() - tiempo) >= 3100.0) {
        estado = HERO_LEVEL_LEFT;
        FireList->Clear();
        Go(SCREEN_LEVEL, SCREEN_AREA_COMPLETE);
    } else {
        UpdateFires();
    }
}

void T_Dax::m_draw_dax() {
    const float sx = x;
    const float sy = y - static_cast<float>(ViewTop) + kPlayFieldTop;
    auto cell = [&](int frame) { plat::DrawImage(Image, sx, sy, frame); };
    auto at = [](const auto& table, int i) {
        return table[static_cast<std::size_t>(i) % table.size()];
    };

    switch (estado) {
    case HERO_PLAYING:
    case HERO_LEAVING:
        switch (Direction) {
        case DIR_UP_LEFT: case DIR_UP: case DIR_UP_RIGHT: case DIR_DOWN_LEFT: case DIR_DOWN: case DIR_DOWN_RIGHT: {
            if (Frame_ind == 3) Frame_ind = 0;
            const auto& table = Direction == DIR_UP_LEFT   ? anim_upleft
                                : Direction == DIR_UP ? anim_up
                                : Direction == DIR_UP_RIGHT ? anim_upright
                                : Direction == DIR_DOWN_LEFT ? anim_downleft
                                : Direction == DIR_DOWN ? anim_down
                                                 : anim_downright;
            cell(at(table, Frame_ind));
            break;
        }
        case DIR_LEFT:
            cell(at(anim_left, Frame_ind));
            break;
        case DIR_RIGHT:
            cell(at(anim_right, Frame_ind));
            break;
        case DIR_NONE:
            if (anim_tirar_granada == 0) {
                switch (LastDirection) {
                case DIR_DOWN_LEFT: cell(anim_downleft[1]); break;
                case DIR_DOWN: cell(anim_down[1]); break;
                case DIR_DOWN_RIGHT: cell(anim_downright[1]); break;
                case DIR_LEFT: cell(anim_left[2]); break;
                case DIR_RIGHT: cell(anim_right[2]); break;
                case DIR_UP_LEFT: cell(anim_upleft[1]); break;
                case DIR_UP: cell(anim_up[1]); break;
                case DIR_UP_RIGHT: cell(anim_upright[1]); break;
                default: break;
                }
            } else {
                plat::DrawImage(anim_granada, sx, sy, frame_gr);
            }
            break;
        default:
            break;
        }
        break;
    case HERO_ENTERING:
        cell(anim_up[0]);
        break;
    case HERO_SHOT:
        cell(at(anim_muerto, Frame_ind));
        break;
    case HERO_FALLEN: {
        const int frame = at(anim_muerto_caido, Frame_ind);
        if (Direction == DIR_DOWN_LEFT || Direction == DIR_DOWN || Direction == DIR_DOWN_RIGHT)
            plat::DrawImage(Image, sx, sy + 15, frame);
        else if (Direction == DIR_LEFT)
            plat::DrawImage(Image, sx - 21, sy + 8, frame);
        else if (Direction == DIR_RIGHT)
            plat::DrawImage(Image, sx + 21, sy + 8, frame);
        else
            cell(frame);
        break;
    }
    case HERO_FORTRESS_BURNING:
        DrawFires();
        break;
    default:  // 35, 42: nothing
        break;
    }
}

}  // namespace game
