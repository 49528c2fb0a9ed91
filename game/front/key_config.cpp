#include "game/front/key_config.h"

#include <algorithm>
#include <array>
#include <vector>

#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/user_file.h"
#include "game/front/bitmap_font.h"
#include "game/globals.h"
#include "game/screens.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "platform/sys/input.h"

namespace game {

namespace {

// The six controls in file and screen order.
struct Control {
    const char* fileName;  // as added to the key file (stored upper-cased)
    const char* label;     // row label on the screen, 10 characters
    KeyPair* keys;
};

const std::array<Control, 6>& Controls() {
    static const std::array<Control, 6> controls = {{
        {"Left", "LEFT      ", &LeftKeys},
        {"Right", "RIGHT     ", &RightKeys},
        {"Up", "UP        ", &UpKeys},
        {"Down", "DOWN      ", &DownKeys},
        {"Fire", "FIRE      ", &FireKeys},
        {"Grenades", "GRENADES  ", &GrenadeKeys},
    }};
    return controls;
}

void BackToOptions() {
    Go(SCREEN_REDEFINE_KEYS, SCREEN_OPTIONS);
}

}  // namespace

// --- the key file ------------------------------------------------------------------

std::string TIniFileKey::SavePath() {
    const std::string folder = fw::Game ? fw::Game->SubPath : std::string();
    return folder + kFileName;
}

std::string TIniFileKey::LoadPath() {
    // Whatever is at the shared place (a file that cannot be read, too) is
    // the player's: it is not passed over for the program's copy.
    const std::string shared = SavePath();
    return plat::FileExists(shared) ? shared : std::string(kFileName);
}

void TIniFileKey::Save() {
    if (Unreadable) return;  // the player's file stays as it is
    fw::SaveUserFile(SavePath(), Text(), kFileName);
}

void TIniFileKey::Load() {
    const std::string path = LoadPath();
    ReadFrom(path);
    // Only the shared copy is ever saved over.
    if (path != SavePath()) Unreadable = false;
    bool damaged = !Damage.empty();
    for (const auto& line : *this) damaged = damaged || KeyCodeOf(line->Value) < 0;
    if (!damaged) Save();
}

// --- capturing keys ------------------------------------------------------------------

int KeyCodeOf(const std::string& value) {
    if (!plat::FitsInt(value)) return -1;
    const int code = plat::ToInt(value);
    return IsNamedKey(code) ? code : -1;
}

bool IsNamedKey(int code) {
    const std::vector<NamedKey>& keys = NamedKeys();
    return std::any_of(keys.begin(), keys.end(), [code](const NamedKey& key) { return key.code == code; });
}

int PollKeyHitCode() {
    for (const NamedKey& key : NamedKeys())
        if (fw::KeyHitCode(key.code)) return key.code;
    return -1;
}

int T_NewKeysEntry::Introduce(int* codeInUse) {
    NuevaTecla = PollKeyHitCode();
    if (NuevaTecla == -1) return 0;
    *codeInUse = NuevaTecla;  // in use at once, before the confirmation
    return 1;
}

int T_NewKeysEntry::m_Introduce_leftkey() { return Introduce(&LeftKeys[1]); }
int T_NewKeysEntry::m_Introduce_rightkey() { return Introduce(&RightKeys[1]); }
int T_NewKeysEntry::m_Introduce_upkey() { return Introduce(&UpKeys[1]); }
int T_NewKeysEntry::m_Introduce_downkey() { return Introduce(&DownKeys[1]); }
int T_NewKeysEntry::m_Introduce_key1() { return Introduce(&FireKeys[1]); }
int T_NewKeysEntry::m_Introduce_key2() { return Introduce(&GrenadeKeys[1]); }

void T_NewKeysEntry::DrawRows(int done) {
    WriteText("CHOOSE NEW KEYS", static_cast<float>(xhead), static_cast<float>(yhead));
    const auto& controls = Controls();
    for (int row = 0; row < done; ++row) {
        const int code = (*controls[static_cast<std::size_t>(row)].keys)[1];
        const std::string& keyName = code >= 0 && code <= 255 ? KeyNames[static_cast<std::size_t>(code)] : std::string();
        WriteText(std::string(controls[static_cast<std::size_t>(row)].label) + keyName, static_cast<float>(x),
             static_cast<float>(y + 16 * row));
    }
    if (done < static_cast<int>(controls.size())) {
        const std::string label = done == 0 ? std::string("LEFT") : controls[static_cast<std::size_t>(done)].label;
        WriteText(label, static_cast<float>(x), static_cast<float>(y + 16 * done));
    }
}

void T_NewKeysEntry::m_Draw_leftkey() { DrawRows(0); }
void T_NewKeysEntry::m_Draw_rightkey() { DrawRows(1); }
void T_NewKeysEntry::m_Draw_upkey() { DrawRows(2); }
void T_NewKeysEntry::m_Draw_downkey() { DrawRows(3); }
void T_NewKeysEntry::m_Draw_key1() { DrawRows(4); }
void T_NewKeysEntry::m_Draw_key2() { DrawRows(5); }

void T_NewKeysEntry::m_Draw_allkeys() {
    DrawRows(6);
    WriteText("IS OK?    Y ! N", 96, 200);
}

// --- the screen ----------------------------------------------------------------------

void TRedefineKeysScreen::Load() { name = "redefinekeys"; }

void TRedefineKeysScreen::Start() {
    TScreen::Start();
    fw::Game->Mouse->Off();
    fw::Game->FixedRateLogic->Init();
    fw::Game->IgnoreEscapeKey = 1;
    newkey = DIR_LEFT;
}

void TRedefineKeysScreen::Logic() {
    TScreen::Logic();
    if (fw::KeyHitCode(plat::KEY_ESCAPE)) {
        fw::FlushInput();
        // Every control back to its default, in memory only.
        for (const Control& control : Controls()) (*control.keys)[1] = (*control.keys)[0];
        BackToOptions();
        return;
    }
    switch (newkey) {
        case DIR_LEFT: if (NewKeysEntry->m_Introduce_leftkey()) newkey = DIR_RIGHT; break;
        case DIR_RIGHT: if (NewKeysEntry->m_Introduce_rightkey()) newkey = DIR_UP; break;
        case DIR_UP: if (NewKeysEntry->m_Introduce_upkey()) newkey = DIR_DOWN; break;
        case DIR_DOWN: if (NewKeysEntry->m_Introduce_downkey()) newkey = STEP_FIRE; break;
        case STEP_FIRE: if (NewKeysEntry->m_Introduce_key1()) newkey = STEP_GRENADES; break;
        case STEP_GRENADES: if (NewKeysEntry->m_Introduce_key2()) newkey = STEP_CONFIRM; break;
        case STEP_CONFIRM: m_go_to_OptionScreen(); break;
        default: break;
    }
}

void TRedefineKeysScreen::Draw() {
    plat::Cls();
    switch (newkey) {
        case DIR_LEFT: NewKeysEntry->m_Draw_leftkey(); break;
        case DIR_RIGHT: NewKeysEntry->m_Draw_rightkey(); break;
        case DIR_UP: NewKeysEntry->m_Draw_upkey(); break;
        case DIR_DOWN: NewKeysEntry->m_Draw_downkey(); break;
        case STEP_FIRE: NewKeysEntry->m_Draw_key1(); break;
        case STEP_GRENADES: NewKeysEntry->m_Draw_key2(); break;
        case STEP_CONFIRM: NewKeysEntry->m_Draw_allkeys(); break;
        default: break;
    }
}

void TRedefineKeysScreen::m_go_to_OptionScreen() {
    if (fw::KeyHitCode(plat::KEY_Y)) {
        fw::FlushInput();
        IniKeysFill();
        KeyFile->Save();
        BackToOptions();
    } else if (fw::KeyHitCode(plat::KEY_N)) {
        fw::FlushInput();
        newkey = DIR_LEFT;  // the capture starts again from left
    }
}

void TRedefineKeysScreen::IniKeysFill() {
    KeyFile->Clear();
    for (const Control& control : Controls()) KeyFile->Add(control.fileName, std::to_string((*control.keys)[1]));
}

void TRedefineKeysScreen::IniKeysExtract() {
    std::string damage = KeyFile->Damage;
    for (const auto& line : *KeyFile) {
        for (const Control& control : Controls()) {
            if (line->Name != plat::Upper(control.fileName)) continue;
            const int code = KeyCodeOf(line->Value);
            if (code >= 0) {
                (*control.keys)[1] = code;
                continue;
            }
            // No key has such a code: the control would be dead.
            (*control.keys)[1] = (*control.keys)[0];
            damage += (damage.empty() ? "" : ", ") + line->Name + "=" + line->Value;
        }
    }
    if (damage.empty()) return;
    const std::string read = TIniFileKey::LoadPath();
    if (!fw::ReportDamagedFile(read, damage, TIniFileKey::SavePath() + ".bad")) return;
    IniKeysFill();
    KeyFile->Save();
}

}  // namespace game
