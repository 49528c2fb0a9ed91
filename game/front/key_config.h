#pragma once
// The six play controls as redefinable keys: the key file "Keys.ini" and the
// redefine-keys screen reached from the options screen.
//
// "Keys.ini" is read from the shared data folder when it is there, else from
// the program's folder (a shipped or older copy), and always written to the
// shared data folder: the program's folder need not be writable.

#include <string>

#include "framework/ini.h"
#include "framework/screen.h"

namespace game {

class TIniFileKey : public fw::TIniFile {
public:
    static constexpr const char* kFileName = "Keys.ini";

    // Where the file is written: the shared data folder's "Keys.ini".
    static std::string SavePath();
    // Where it is read from: the shared copy when anything is at its place,
    // else the one in the program's folder.
    static std::string LoadPath();

    // Writes every line to SavePath() (not when it holds them already, nor
    // while the shared file could not be read); a failure ends the program
    // with "Failed to save file Keys.ini (" + the system's reason + ")".
    void Save() override;
    // Updates the lines whose names are already in the list from the file
    // (a missing file is no error), then Save().  A damaged file (one that
    // is not text, or names a code no key has) is not saved here: the
    // repaired codes are, by IniKeysExtract, once the damaged copy is kept.
    void Load() override;
};

// The first key code of the named keys (NamedKeys(), by ascending code) that
// was hit since it was last read; -1 when none.
int PollKeyHitCode();
// Whether `code` is one of the 72 named keys a control can have.
bool IsNamedKey(int code);
// The code a key file's value names when it is one of those keys (written
// as a number that fits an Int: "4294967333" names no key), else -1.
int KeyCodeOf(const std::string& value);

// Captures the six keys one by one and draws the rows of the screen.
class T_NewKeysEntry : public plat::Object {
public:
    int x = 80;       // left edge of the key rows
    int y = 56;       // top of the first row; rows are 16 pixels apart
    int xhead = 96;   // heading
    int yhead = 30;
    int NuevaTecla = -1;  // the last code captured, -1 for none

    // 1 when a key was taken for the control (in use at once), else 0.
    virtual int m_Introduce_leftkey();
    virtual int m_Introduce_rightkey();
    virtual int m_Introduce_upkey();
    virtual int m_Introduce_downkey();
    virtual int m_Introduce_key1();  // fire
    virtual int m_Introduce_key2();  // grenades
    virtual void m_Draw_leftkey();
    virtual void m_Draw_rightkey();
    virtual void m_Draw_upkey();
    virtual void m_Draw_downkey();
    virtual void m_Draw_key1();
    virtual void m_Draw_key2();
    virtual void m_Draw_allkeys();

private:
    int Introduce(int* codeInUse);
    // The heading, the first `done` rows with their key names, then the
    // label of the control asked for (none when all six are done).
    void DrawRows(int done);
};

class TRedefineKeysScreen : public fw::TScreen {
public:
    plat::Ref<T_NewKeysEntry> NewKeysEntry = plat::New<T_NewKeysEntry>();
    // The step: the direction code of the control asked for (left, right,
    // up, down), then fire, grenades and the confirmation.
    enum Step : int { STEP_CONFIRM = 0, STEP_FIRE = 11, STEP_GRENADES = 12 };
    int newkey = STEP_CONFIRM;

    void Load() override;
    void Start() override;
    void Logic() override;
    void Draw() override;
    virtual void m_go_to_OptionScreen();
    // The key file's lines from the codes in use.
    virtual void IniKeysFill();
    // The codes in use from the key file's lines.  A code that names no key
    // (0, a code without a key name, one outside 0..255) would leave its
    // control dead: it is replaced by the control's default, and the
    // repaired file is saved with the damaged copy kept as "Keys.ini.bad"
    // (see fw::ReportDamagedFile).
    virtual void IniKeysExtract();
};

}  // namespace game
