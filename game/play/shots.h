#pragma once
// Projectiles of the level play, all kept in ShotList.
//
// T_Bala flies straight in one of the eight directions: the hero's bullets,
// enemy bullets, bazooka shells and hut shots.  It stops at the end of its
// range or at a solid cell and bursts (or vanishes).
//
// T_Granada climbs or flies an arc and then bursts: the hero's grenade
// climbs 80 pixels up the screen; enemy grenades and cannon shells aim at
// the hero through GrenadeSpeedTable by screen zones and fall in coarse
// steps.

#include <array>

#include "game/vocabulary.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace game {

class T_Bala : public plat::Object {
public:
    T_Bala();

    int owned = 0;
    float x = 0, y = 0;
    int dir = 0;
    float xfinalbala = 0;
    float yfinalbala = 0;
    plat::Ref<plat::TImage> exp_image;
    float animdelay = 4.0f;
    int frame_exp = 0;
    int explota = 0;
    float v_bala_dax = 1.5f;
    float v_bala_enemigos = 0.3f;
    float v_bala_bazooka = 0.5f;
    float v_bala_caseta = 0.4f;
    plat::Ref<plat::TImage> bala_baz_img;
    std::array<int, 3> bala_baz_anim{62, 63, 64};
    plat::Ref<plat::TImage> bala_baz_exp_img;
    std::array<int, 4> anim_gr_expl{5, 4, 3, 5};

    // The hero's bullet in Direction (LastDirection when standing); none
    // when it would start above the top of the map.
    static void f_Create_Bala_Dax();
    // kind 2 or 5 from an enemy standing at (x, y).
    static void f_Create_Bala_Enemigo(int dir, float x, float y, int kind);
    static void f_Create_Bala_Bazookero(int dir, float x, float y);
    // dir 7 or 9.
    static void f_Create_Bala_Caseta(int dir, float x, float y);

    virtual void m_Update_Bala();
    virtual void m_Draw_Bala();
    virtual void m_bala_explota();
    virtual void m_bazooka_explota();

    // The speed of this kind, in pixels per tick.
    float Speed() const;

private:
    bool FlightOpen() const;
    bool WaterPass() const;
    void MoveAlong(float v);
    void RemoveSelf();
};

class T_Granada : public plat::Object {
public:
    T_Granada();

    int vx = 0;
    int vy = -8;
    int ay = 1;
    int owned = 0;
    float x = 0, y = 0;
    float xfinalgr = 0;
    float yfinalgr = 0;
    float yinigr = 0;
    plat::Ref<plat::TImage> gr_image;
    float animdelay = 4.0f;
    std::array<int, 4> anim_gr_expl{5, 4, 3, 5};
    std::array<int, 3> anim_gr{2, 1, 0};
    std::array<int, 3> anim_bala_canyon{8, 7, 6};
    std::array<int, 4> anim_bala_c_expl{11, 10, 9, 11};
    int frame_tira = 0;
    int frame_ind = 0;
    int frame_exp = 0;
    int explota = 0;
    int zona_origen = 0;
    int zona_final = 0;
    float cont = 0;

    static void f_create_granada_Dax();
    static void f_create_granada_canyon(float x, float y);
    static void f_create_granada_enemigo(float x, float y);

    virtual void m_update_granada();
    virtual void m_draw_granada();
    virtual void m_granada_explota();

private:
    static void CreateArc(float x, float y, int kind);
    void ArcStep();
};

// Screen zone 1..10 of a play-field position: five 64-pixel columns, plus 5
// below play-field row 80.  The column is held to 1..5, so positions beside
// the screen count as its edge columns.
int ScreenZoneOf(float x, int sy);

// Empties ShotList.  Any grenade of the hero goes with it, so throwing is
// allowed again.
void ClearShotList();

}  // namespace game
