#pragma once
// The high-score name entry: after a game whose score earns a place in the
// table, the player writes a name of up to 8 characters, either by steering
// a crosshair over a grid of 30 characters and shooting them (the hero walks
// along under the crosshair and fires upwards) or by typing.  ":" deletes
// the last character, ";" confirms.  Confirming puts the name, the score and
// the area reached into the table, saves it and shows the table.

#include <array>
#include <string>

#include "framework/screen.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {
class TGameSound;
}

namespace game {

// One character of the grid, and the flash frames of the shot letter.
class T_Letra : public plat::Object {
public:
    int x = 0, y = 0;  // drawn at (x, y + 26)
    std::string letra;
    float AnimLetrasDelay = 0;
    int max_aldelay = 25;
    int frame = 0;  // flash frame 0..27

    // A tile at the character's grid place; nullptr for characters that are
    // not in the grid ("!" stands in the place of "A").
    static plat::Ref<T_Letra> f_Create_Letra(const std::string& letter);
    // Advances the flash; true when it has just ended.
    virtual bool m_updt_anim_letra();
    // Writes the flash frame of `letter` at the place of that letter's tile.
    virtual void m_Draw_anim_letra(const std::string& letter);

    // The 28 flash frames of a character (empty for ":" and ";").
    static const std::array<std::string, 28>* FlashFrames(const std::string& letter);
    // The grid place of a character: row 0..2, column 0..9; false when absent.
    static bool GridPlace(const std::string& letter, int& row, int& column);
};

class T_Punto_de_mira : public plat::Object {
public:
    T_Punto_de_mira();

    float x = 73, xfinal = 73, y = 69, yfinal = 69, y_dax = 152;
    plat::Ref<plat::TImage> image, image2;
    int anim_pm = 20;
    std::array<int, 3> anim_dax{0, 1, 2};
    int frame = 0;
    float speed = 0.5f;
    std::string letra_senyalada = "A";

    virtual void m_Update_Punto_de_mira();
    virtual void m_Draw_punto_de_mira();
};

class T_Bala_Records : public plat::Object {
public:
    T_Bala_Records();

    float x = 85, y = 146, v_bala = 1.0f, yfinalbala = 0;
    int Bala_activa = 0;
    std::string str_aux;
    plat::Ref<fw::TGameSound> Bala_Records_Sound;

    virtual void m_Update_Bala_Records();
    virtual void m_Draw_Bala_Records();
};

class TIntroducirRecordsScreen : public fw::TScreen {
public:
    std::string nombre;
    std::string puntos;
    std::array<std::array<plat::Ref<T_Letra>, 19>, 5> m_Letras{};
    int posicion_nombre = 1;
    plat::Ref<T_Punto_de_mira> Punto_de_mira;
    plat::Ref<T_Bala_Records> Bala;
    int anim_letra_activa = 0;
    int Puedo_usar_input = 1;

    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;

    virtual void m_Crea_Matriz_letras();
    virtual void m_Escribe_Matriz_Letras();
    virtual void m_Escribe_Nombre();
    virtual void m_Completa_nombre_con_puntos();
    virtual void m_Crea_Punto_de_Mira();
    virtual void m_Crea_Bala_Records();
    virtual void m_anima_Letra();
    virtual void m_Escribe_anim_letra();
    virtual void m_inicia_valores();
    virtual void m_Comprueba_si_escribimos_desde_teclado();

    // What the bullet's arrival on a character does.
    virtual void ShotLetter(const std::string& letter);
    // The name and the score into the table, saved; then the table is shown.
    virtual void Confirm();

    static constexpr int kMaxName = 8;
};

// 1 when the score earns a place in the high-score table: at least the
// lowest score of a full table, or any score while the table has room.
int ScoreQualifiesForTable();

// Rows the high-score table keeps.
inline constexpr int kHighScoreRows = 8;

}  // namespace game
