#pragma once
// T_Enemigo: every enemy soldier of the level play.  There is one class for
// all of them: the state `estado` (EnemyState of vocabulary.h) is both the
// kind and its phase, and one creation function per kind fills in what that
// kind needs and appends the soldier to EnemyList (the house guard to
// GuardList).
//
// Once per tick the level screen runs UpdateEnemies (and UpdateGuards on the
// fortress areas): every soldier tests the hero's bullets and exploding
// grenades against itself, leaves play when it is out of the window, counts
// down its death, or acts as its kind does (walking.cpp: runner, grenadier,
// verde soldier, gate soldier, jumpers; posted.cpp: cannon, bazooka, guards,
// swimmer, trench, bridge, motorbike, kidnappers and captive).  Once per
// frame DrawEnemies and DrawGuards draw them, and DrawOverlayEnemies draws
// the riders and bridge grenadiers again over the map's front layer.

#include <array>
#include <cstdint>

#include "game/vocabulary.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace game {

class T_Enemigo : public plat::Object {
public:
    T_Enemigo();

    float x = 0;  // left edge, map pixels
    float y = 0;  // top edge, map pixels
    // The creation key: the row (or key) the level script made it for.
    int py_creado = 0;
    plat::Ref<plat::TImage> Image;  // EnemyImage; EnemyCImage for the cannon
    int Frame_ind = 0;              // cell index; also the countdown of a death
    int Frame_indgr = 0;            // index of the throwing tables
    float AnimDelay = 0;            // ticks; the cell steps when below 0

    // Cells of the sheet, by pose.
    std::array<int, 3> anim_up{0, 1, 2};
    std::array<int, 3> anim_down{3, 4, 5};
    std::array<int, 3> anim_downright{6, 7, 8};
    std::array<int, 3> anim_downleft{9, 10, 11};
    std::array<int, 3> anim_upright{14, 15, 16};
    std::array<int, 3> anim_upleft{17, 18, 19};
    std::array<int, 3> anim_left{48, 49, 50};
    std::array<int, 3> anim_right{52, 53, 54};
    std::array<int, 2> anim_lanza_granada{56, 57};
    std::array<int, 2> anim_saltar_a_izq{32, 33};
    std::array<int, 2> anim_saltar_a_der{45, 46};
    std::array<int, 3> anim_vigilante{34, 35, 36};
    std::array<int, 5> anim_trinchero{65, 66, 34, 35, 36};
    int anim_motero_left = 20;  // the bike is two cells wide: this and the next
    std::array<int, 2> anim_motero_granada{22, 24};
    std::array<int, 2> anim_secuestrador{30, 31};
    std::array<int, 2> anim_capturado{39, 40};
    std::array<int, 2> anim_capturado_libre{41, 42};
    std::array<int, 2> anim_verde_izq{68, 69};
    std::array<int, 2> anim_verde_der{78, 79};
    int puntos_secuestrador = 44;  // the score sprite of a kidnapper
    int puntos_verde = 43;         // the score sprite of the verde soldier
    // The dying sequences by Frame_ind 0..36; 0 or less draws nothing, so the
    // body flickers.
    std::array<int, 37> anim_muerto{};
    std::array<int, 37> anim_vigilante_muerto{};
    std::array<int, 4> anim_bazookero{58, 59, 60, 61};

    int estado = 0;     // EnemyState
    int newestado = 0;  // the state a gate soldier takes once out
    float speed = 0.24f;
    int libre = 0;  // 1 once the captive is freed
    // The cannon (cells of EnemyCImage): firing right, firing left.
    std::array<int, 3> anim_canyonero{39, 40, 41};
    std::array<int, 3> anim_canyonero_right{42, 43, 44};
    int anim_disp_canyonero = 0;  // 1 while the firing animation runs
    std::int64_t timeold = 0;     // the play clock at the cannon's last shot, ms
    std::int64_t timenew = 0;     // the play clock at this update, ms
    int dir = 0;                  // DirCode of the movement; posted kinds: the side
    int facing = 0;               // DirCode it looks and shoots in
    float corre_pix = 0;          // pixels travelled in the current leg
    int xplus = 0;                // jumper: the base of its run
    int max_corre_pix = 40;       // leg of runners
    int max_anda_pix = 44;        // leg of grenadiers
    int num_balas = 0;            // shots left in the burst
    int num_granadas = 0;         // grenades left in the series
    float baladelay_enemigos = -1;     // ticks to the next shot
    float granadadelay_enemigos = -1;  // ticks to the next throw
    float animdelaygr = 0;             // timer of the throwing pose
    int estado_trinchero = 0;          // TrenchPhase
    int estado_old_trinchero = 0;      // the phase before
    int max_AnimDelay = 0;             // trench: ticks per phase
    int max_pix_puentero = 0;          // bridge soldier: walk along the bridge
    int max_corre_saltador = 0;        // jumper: run before the jump

    // --- creation: each appends one soldier (the kidnappers three) ---------
    // Stage-dependent speeds take the first value on stages 1-4, the second
    // on 5-8, the third on any other.  Side 4 enters from the right edge, 6
    // from the left; any other side leaves x at 0.
    static void f_Create_Canyonero(float x, float key, int dir);
    static void f_Create_Corredor(float x, int key);
    static void f_Create_Corredor_puerta(float x, int y, int dir);
    static void f_Create_Corredor_montanya_l6(float x, int y, int dir);
    static void f_Create_Granadero(int y, int side);
    static void f_Create_Granadero_puerta(float x, int y, int dir);
    static void f_Create_Saltador(int y, int side, int base, int run);
    static void f_Create_Saltador_Camion(float x, int y);
    static void f_Create_Vigilante(float x, int key);
    static void f_Create_Vigilante_Ini(float x, int y);
    static void f_Create_Acuatico(float x, int y);
    static void f_Create_Vigilante_Casa(float x, int key);  // into GuardList
    static void f_Create_Trinchero(float x, int key, int period);
    static void f_Create_Trinchero_Ini(float x, int y, int period);
    static void f_Create_Puentero(int y, int side, int distance);
    static void f_Create_Motero(int y);
    static void f_Create_Granadero_puente(int y);
    static void f_Create_Secuestradores(int x, int y);
    static void f_Create_Verde(float x, float y, int key, int dir);
    static void f_Create_Bazookero(int key, int side);
    // Also marks its key with AddSpawnMarker.
    static void f_Create_Sale_de_Puerta(float x, float y, int next, int key);

    // One tick: the hits, the window, the death counts, the kind's own step.
    virtual void m_Update_enemigo();
    // One cell (two for the motorbike rider), or nothing.
    virtual void m_Draw_enemigo();

    // --- the kinds (walking.cpp, posted.cpp) ---------------------------------
    void m_update_corredor();
    void m_update_granadero();
    void m_anim_tira_granada();
    void m_update_verde();
    void m_update_corredor_l6();
    void m_update_sale_de_puerta();
    void m_update_saltador();
    void m_update_saltador_camion();
    void m_update_canyonero();
    void m_update_bazookero();
    void m_update_vigilante();
    void m_update_acuatico();
    void m_update_vigilante_casa();
    void m_update_trinchero();
    void m_update_puentero();
    void m_update_granadero_puente();
    void m_update_motero();
    void m_update_secuestrador();
    void m_update_capturado();

protected:
    // The steps the kinds share.
    // Every `period` + 1 ticks the cell steps, back to 0 after `last`.
    void AnimStep(float period, int last);
    // A shot of the burst in `facing` when the delay has run out, then the
    // delay counts down.
    void ShotStep(float delay);
    // facing = towards the hero, by screen zones.
    void AimStep();
    // s: the distance of this tick.
    float Step() const;
    // The soldier leaves the enemy list (a house guard is not in it).
    void LeaveEnemyList();

private:
    void TestHits();
    bool OutOfWindow() const;
    void Dying(int last);
    void Dispatch();
    void HitScore(int otherState);
};

// --- the passes of the level screen --------------------------------------------
void UpdateEnemies();  // every T_Enemigo of EnemyList
void UpdateGuards();   // every T_Enemigo of GuardList
void DrawEnemies();    // those of EnemyList not riding a motorbike
void DrawGuards();
// Over the front layer: the motorbike riders and/or the bridge grenadiers of
// EnemyList.
void DrawOverlayEnemies(bool riders, bool bridgeGrenadiers);
// Whether a soldier of EnemyList (not dying a plain death, not the captive)
// touches the hero's box.
bool EnemyTouchesHero(int x, int y, int w, int h);

// --- shared by the kinds and the level script ----------------------------------
// The direction of a shot from (x, y) of the play view towards the hero.
int AimDirectionFromZones(int x, int y);
int RollEnemyShot();     // shots of a new burst, maybe 0
int RollEnemyGrenade();  // grenades of a new series, maybe 0
// Random direction codes (on RandRange).
int RandomDir6or9();
int RandomDir4or7();
int RandomDir9or8();
int RandomDir7or8();
int RandomDirDownward();  // 8, 7 or 9
// Every trench soldier leaves EnemyList.
void RemoveTrenchSoldiers();

}  // namespace game
