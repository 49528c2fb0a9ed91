#include "game/front/name_entry.h"

#include <cctype>
#include <cmath>

#include "framework/banks.h"
#include "framework/game.h"
#include "framework/highscore.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/timing.h"
#include "game/front/bitmap_font.h"
#include "game/front/key_config.h"
#include "game/globals.h"
#include "game/play/field.h"
#include "game/player_input.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

// The grid, row by row.
const char* const kGridRows[3] = {"ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ./:;"};

constexpr int kLeft = 73, kRight = 217, kTop = 69, kBottom = 101;

TIntroducirRecordsScreen* Screen() { return RecordsEntryScreen.get(); }

// The character in grid cell [r, c] (even indices only), "" when none.
std::string GridCharacter(int r, int c) {
    auto* screen = Screen();
    if (!screen || r < 0 || r >= 5 || c < 0 || c >= 19) return "";
    const auto& tile = screen->m_Letras[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    return tile ? tile->letra : "";
}

// Picks the letter under a grid position; positions between grid places
// (or outside the grid) leave the current choice.
void PointAt(T_Punto_de_mira& aim, float gy, float gx) {
    const std::string letter =
        GridCharacter(static_cast<int>((gy - kTop) / 8), static_cast<int>((gx - kLeft) / 8));
    if (!letter.empty()) aim.letra_senyalada = letter;
}

// Which way the crosshair glides along one axis after a nudge.
enum class Glide { None, Forward, Back };

// Where a glide ends: the first grid line (lo to hi, 16 apart) at or beyond
// `pos` in the glide's direction; 0 when there is none.
float GridLineAhead(float pos, int lo, int hi, Glide glide) {
    if (glide == Glide::Forward) {
        for (int g = lo; g <= hi; g += 16)
            if (static_cast<float>(g) >= pos) return static_cast<float>(g);
    } else if (glide == Glide::Back) {
        for (int g = hi; g >= lo; g -= 16)
            if (static_cast<float>(g) <= pos) return static_cast<float>(g);
    }
    return 0;
}

// Moves `pos` one step toward `target` in the glide's direction; true once
// it is there.
bool GlideTo(float& pos, float target, float step, Glide glide) {
    if (glide == Glide::Forward) {
        if (pos < target) pos += step;
        if (pos < target) return false;
    } else if (glide == Glide::Back) {
        if (pos > target) pos -= step;
        if (pos > target) return false;
    } else {
        return false;
    }
    pos = target;
    return true;
}

}  // namespace

int ScoreQualifiesForTable() {
    if (!fw::Game || !fw::Game->HighScores) return 1;
    const auto& table = *fw::Game->HighScores;
    if (table.Count() < kHighScoreRows) return 1;
    const auto lowest = table.Last();
    return (!lowest || Score >= lowest->score) ? 1 : 0;
}

// --- T_Letra ----------------------------------------------------------------------

bool T_Letra::GridPlace(const std::string& letter, int& row, int& column) {
    if (letter.size() != 1) return false;
    const char ch = letter == "!" ? 'A' : letter[0];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 10; ++c)
            if (kGridRows[r][c] == ch) {
                row = r;
                column = c;
                return true;
            }
    return false;
}

const std::array<std::string, 28>* T_Letra::FlashFrames(const std::string& letter) {
    static const auto table = [] {
        std::array<std::array<std::string, 28>, 28> t{};
        for (int l = 0; l < 26; ++l) {
            const std::string upper(1, static_cast<char>('A' + l));
            const std::string lower(1, static_cast<char>('a' + l));
            for (int i = 0; i < 28; i += 4) {
                t[static_cast<std::size_t>(l)][static_cast<std::size_t>(i)] = upper;
                t[static_cast<std::size_t>(l)][static_cast<std::size_t>(i + 1)] = "!";
                t[static_cast<std::size_t>(l)][static_cast<std::size_t>(i + 2)] = lower;
                t[static_cast<std::size_t>(l)][static_cast<std::size_t>(i + 3)] = "!";
            }
        }
        for (std::size_t i = 0; i < 28; ++i) {
            t[26][i] = i % 2 == 0 ? "/" : "!";  // anim_cor
            t[27][i] = ".";                     // anim_pto
        }
        return t;
    }();
    if (letter.size() != 1) return nullptr;
    const char ch = letter[0];
    if (ch >= 'A' && ch <= 'Z') return &table[static_cast<std::size_t>(ch - 'A')];
    if (ch == '/') return &table[26];
    if (ch == '.') return &table[27];
    return nullptr;
}

plat::Ref<T_Letra> T_Letra::f_Create_Letra(const std::string& letter) {
    int r = 0, c = 0;
    if (!GridPlace(letter, r, c)) return nullptr;
    auto tile = plat::New<T_Letra>();
    tile->letra = letter;
    tile->x = 80 + 16 * c;
    tile->y = 48 + 16 * r;
    tile->AnimLetrasDelay = static_cast<float>(tile->max_aldelay);
    return tile;
}

bool T_Letra::m_updt_anim_letra() {
    bool ended = false;
    if (AnimLetrasDelay < 0) {
        frame += 1;
        if (frame > 27) {
            frame = 0;
            ended = true;
        }
        AnimLetrasDelay = static_cast<float>(max_aldelay);
    }
    AnimLetrasDelay -= 1.0f * fw::Delta;
    return ended;
}

void T_Letra::m_Draw_anim_letra(const std::string& letter) {
    const auto* frames = FlashFrames(letter);
    int r = 0, c = 0;
    if (!frames || !GridPlace(letter, r, c)) return;
    const auto i = static_cast<std::size_t>(frame < 0 || frame > 27 ? 0 : frame);
    WriteText((*frames)[i], static_cast<float>(80 + 16 * c), static_cast<float>(48 + 16 * r + 26));
}

// --- T_Punto_de_mira --------------------------------------------------------------

T_Punto_de_mira::T_Punto_de_mira() : image(EnemyCImage), image2(HeroImage) {}

void T_Punto_de_mira::m_Update_Punto_de_mira() {
    auto* screen = Screen();
    const float step = speed * fw::Delta;
    // A held direction nudges the crosshair toward the grid's edge, drops the
    // glide target of that axis and holds the input until the glide ends.
    auto nudge = [&](float& pos, float& target, bool back, int edge) {
        const float limit = static_cast<float>(edge);
        if (back ? pos > limit : pos < limit) {
            pos = back ? std::max(pos - step, limit) : std::min(pos + step, limit);
            target = 0;
            if (screen) screen->anim_letra_activa = 0;
        }
        if (screen) screen->Puedo_usar_input = 0;
        Direction = DIR_NONE;
    };
    auto arrived = [&] {
        if (screen) screen->Puedo_usar_input = 1;
    };

    switch (Direction) {
    case DIR_UP: nudge(y, yfinal, true, kTop); break;
    case DIR_DOWN: nudge(y, yfinal, false, kBottom); break;
    case DIR_LEFT: nudge(x, xfinal, true, kLeft); break;
    case DIR_RIGHT: nudge(x, xfinal, false, kRight); break;
    case DIR_NONE: {
        // Released: each axis without a target picks the next grid line in
        // the last direction (and the letter there), then glides to it.
        const Glide gx = LastDirection == DIR_RIGHT ? Glide::Forward : LastDirection == DIR_LEFT ? Glide::Back : Glide::None;
        const Glide gy = LastDirection == DIR_DOWN ? Glide::Forward : LastDirection == DIR_UP ? Glide::Back : Glide::None;
        if (xfinal == 0 && yfinal == 0) xfinal = kLeft;
        if (xfinal == 0) {
            xfinal = GridLineAhead(x, kLeft, kRight, gx);
            PointAt(*this, y, xfinal);
        } else if (GlideTo(x, xfinal, step, gx)) {
            arrived();
        }
        if (yfinal == 0) {
            yfinal = GridLineAhead(y, kTop, kBottom, gy);
            PointAt(*this, yfinal, x);
        } else if (GlideTo(y, yfinal, step, gy)) {
            arrived();
        }
        break;
    }
    default:  // diagonals move nothing
        break;
    }
    frame = (static_cast<int>((x - kLeft) / 8)) % 3;
}

void T_Punto_de_mira::m_Draw_punto_de_mira() {
    plat::DrawImage(image, x, y, anim_pm);
    plat::DrawImage(image2, x, y_dax, anim_dax[static_cast<std::size_t>(frame < 0 ? 0 : frame % 3)]);
}

// --- T_Bala_Records ---------------------------------------------------------------

T_Bala_Records::T_Bala_Records() {
    if (SoundBank) Bala_Records_Sound = SoundBank->Find("snd8");
}

void T_Bala_Records::m_Update_Bala_Records() {
    if (!Bala_activa) return;
    if (y > yfinalbala) {
        y -= v_bala * fw::Delta;
        return;
    }
    Bala_activa = 0;
    auto* screen = Screen();
    // A confirmation starts the table screen, which releases the crosshair:
    // the letter is taken by value.
    if (screen && screen->Punto_de_mira) {
        const std::string letter = screen->Punto_de_mira->letra_senyalada;
        screen->ShotLetter(letter);
    }
}

void T_Bala_Records::m_Draw_Bala_Records() {
    if (Bala_activa) plat::DrawRect(x, y, 2, 2);
}

// --- TIntroducirRecordsScreen -----------------------------------------------------

void TIntroducirRecordsScreen::Load() {}

void TIntroducirRecordsScreen::Start() {
    fw::TScreen::Start();
    fw::FlushInput();
    fw::Game->Mouse->Off();
    if (SidMusic) SidMusic->Stop();
    m_Crea_Matriz_letras();
    fw::Game->FixedRateLogic->Init();
    m_Crea_Punto_de_Mira();
    m_Crea_Bala_Records();
    if (SidMusic) {
        SidMusic->SelectTrack(2);
        SidMusic->Play();
    }
    m_inicia_valores();
    fw::Game->IgnoreEscapeKey = 1;
    fw::Game->IgnorePauseKey = 1;
}

void TIntroducirRecordsScreen::Kill() {
    for (auto& row : m_Letras)
        for (auto& tile : row) tile = nullptr;
    Punto_de_mira = nullptr;
    Bala = nullptr;
}

void TIntroducirRecordsScreen::m_inicia_valores() {
    nombre.clear();
    puntos.clear();
    anim_letra_activa = 0;
    Puedo_usar_input = 1;
    posicion_nombre = 1;
}

void TIntroducirRecordsScreen::m_Crea_Matriz_letras() {
    for (const char* row : kGridRows)
        for (const char* p = row; *p; ++p) {
            auto tile = T_Letra::f_Create_Letra(std::string(1, *p));
            int r = 0, c = 0;
            if (tile && T_Letra::GridPlace(tile->letra, r, c))
                m_Letras[static_cast<std::size_t>(2 * r)][static_cast<std::size_t>(2 * c)] = tile;
        }
}

void TIntroducirRecordsScreen::m_Crea_Punto_de_Mira() {
    Punto_de_mira = plat::New<T_Punto_de_mira>();
    Direction = DIR_NONE;
    LastDirection = DIR_LEFT;
}

void TIntroducirRecordsScreen::m_Crea_Bala_Records() { Bala = plat::New<T_Bala_Records>(); }

void TIntroducirRecordsScreen::Logic() {
    // The fire button counts only as read this tick with no direction held:
    // the crosshair's nudge resets Direction before the fire test, and while
    // it glides the input (and a fire press made with the nudge) is not read.
    int held = -1;
    if (Puedo_usar_input == 1) {
        ReadPlayerInput();
        held = Direction;
    }
    if (Punto_de_mira) Punto_de_mira->m_Update_Punto_de_mira();
    // Held here: a confirmation releases the bullet during its own update.
    if (const auto bala = Bala) bala->m_Update_Bala_Records();
    m_anima_Letra();
    if (FireButtons == 1 && Bala && !Bala->Bala_activa && held == DIR_NONE && Punto_de_mira) {
        fw::FlushInput();
        PlayGameSound(Bala->Bala_Records_Sound);
        Bala->x = Punto_de_mira->x + 12;
        Bala->y = 146;
        Bala->yfinalbala = Punto_de_mira->y + 14;
        Bala->Bala_activa = 1;
    }
    m_Comprueba_si_escribimos_desde_teclado();
}

void TIntroducirRecordsScreen::ShotLetter(const std::string& letter) {
    if (letter == ":") {
        if (!nombre.empty()) {
            if (Bala) {
                Bala->str_aux = nombre.substr(0, nombre.size() - 1);
                nombre = Bala->str_aux;
            } else {
                nombre.pop_back();
            }
        }
    } else if (letter == ";") {
        Confirm();
    } else {
        anim_letra_activa = 1;
        if (static_cast<int>(nombre.size()) < kMaxName) nombre += letter;
    }
}

void TIntroducirRecordsScreen::m_Comprueba_si_escribimos_desde_teclado() {
    const int k = PollKeyHitCode();
    if (k == -1) return;
    fw::FlushInput();
    const bool room = static_cast<int>(nombre.size()) < kMaxName;
    if (k >= plat::KEY_A && k <= plat::KEY_Z) {
        if (room) nombre += KeyNames[static_cast<std::size_t>(k)];
    } else if (k == plat::KEY_PERIOD || k == plat::KEY_SPACE) {
        if (room) nombre += ".";
    } else if (k == plat::KEY_SLASH || k == plat::KEY_NUMDIVIDE) {
        if (room) nombre += "/";
    } else if (k == plat::KEY_BACKSPACE || k == plat::KEY_DELETE) {
        if (!nombre.empty()) nombre.pop_back();
    } else if (k == plat::KEY_ENTER) {
        Confirm();
    }
}

void TIntroducirRecordsScreen::Confirm() {
    auto& table = *fw::Game->HighScores;
    // The lowest row makes room only when the table is full.
    if (table.Count() >= kHighScoreRows) table.RemoveLast();
    table.Insert(nombre, Score, 0);
    table.Save();
    Go(SCREEN_NAME_ENTRY, SCREEN_HIGH_SCORES);
}

void TIntroducirRecordsScreen::m_anima_Letra() {
    if (anim_letra_activa != 1) return;
    auto& tile = m_Letras[0][0];
    if (tile && tile->m_updt_anim_letra()) anim_letra_activa = 0;
}

void TIntroducirRecordsScreen::m_Escribe_anim_letra() {
    if (anim_letra_activa != 1 || !Punto_de_mira) return;
    if (const auto& tile = m_Letras[0][0]) tile->m_Draw_anim_letra(Punto_de_mira->letra_senyalada);
}

void TIntroducirRecordsScreen::m_Completa_nombre_con_puntos() {
    const int n = kMaxName - static_cast<int>(nombre.size());
    puntos = std::string(static_cast<std::size_t>(n > 0 ? n : 0), '.');
}

void TIntroducirRecordsScreen::m_Escribe_Nombre() {
    m_Completa_nombre_con_puntos();
    WriteText(nombre + puntos + ";", 120, 50);
}

void TIntroducirRecordsScreen::m_Escribe_Matriz_Letras() {
    const std::string skip =
        (anim_letra_activa == 1 && Punto_de_mira) ? Punto_de_mira->letra_senyalada : std::string();
    for (const auto& row : m_Letras)
        for (const auto& tile : row) {
            if (!tile || (!skip.empty() && tile->letra == skip)) continue;
            WriteText(tile->letra, static_cast<float>(tile->x), static_cast<float>(tile->y + 26));
        }
}

void TIntroducirRecordsScreen::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    if (Punto_de_mira) Punto_de_mira->m_Draw_punto_de_mira();
    if (Bala) Bala->m_Draw_Bala_Records();
    m_Escribe_Nombre();
    m_Escribe_Matriz_Letras();
    m_Escribe_anim_letra();
}

}  // namespace game
