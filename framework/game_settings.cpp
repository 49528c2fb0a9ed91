// TGame: the settings keys, saving them, particles and crash recovery.

#include <algorithm>
#include <cstdint>
#include <utility>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "framework/game.h"
#include "framework/ini.h"
#include "framework/user_file.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "platform/sys/system.h"

namespace fw {

namespace {

std::string Num(int v) { return std::to_string(v); }

int Clamp100(int v) { return std::clamp(v, 0, 100); }

}  // namespace

namespace {

// A setting of the file and the field that holds it: a number or a text.
struct SettingField {
    const char* name;
    int* number;
    std::string* text;
};

// Every setting in the file's order, after the "Version No" line.
std::vector<SettingField> SettingFields(TGame& g) {
    return {
        {"Full Screen", &g.FullScreen, nullptr},
        {"Screen Width", &ScreenWidth, nullptr},
        {"Screen Height", &ScreenHeight, nullptr},
        {"Sound", &g.Sound, nullptr},
        {"Music", &g.Music, nullptr},
        {"Speech", &g.Speech, nullptr},
        {"Sound Volume", &g.SoundVolume, nullptr},
        {"Music Volume", &g.MusicVolume, nullptr},
        {"Speech Volume", &g.SpeechVolume, nullptr},
        {"Fade", &g.Fade, nullptr},
        {"Particles", &g.Particles, nullptr},
        {"Portal Splash", &g.PortalSplash, nullptr},
        {"Portal Splash2", &g.PortalSplash2, nullptr},
        {"Intro", &g.IntroShow, nullptr},
        {"VSync", &g.VSync, nullptr},
        {"Driver", &g.Driver, nullptr},
        {"Sound Driver", nullptr, &g.SoundDriver},
        {"Full Screen Process Priority", &g.FullScreenProcess, nullptr},
        {"Full Screen Thread Priority", &g.FullScreenThread, nullptr},
        {"Windowed Process Priority", &g.WindowedProcess, nullptr},
        {"Windowed Thread Priority", &g.WindowedThread, nullptr},
        {"Profile Name", nullptr, &g.ProfileName},
        {"Region", &g.Region, nullptr},
        {"Sub-Region", &g.SubRegion, nullptr},
    };
}

}  // namespace

void TGame::IniFill() {
    Ini->Clear();
    // The version of the file's layout, not of the program.
    Ini->Add("Version No", "0.1");
    for (const SettingField& f : SettingFields(*this))
        Ini->Add(f.name, f.number ? Num(*f.number) : *f.text);
}

void TGame::IniExtract() {
    const std::vector<SettingField> fields = SettingFields(*this);
    std::vector<std::string> overflowing;
    for (const auto& line : *Ini) {
        if (!line) continue;
        if (line->Name == "VERSION NO") {
            VersionNumber = line->Value;
            continue;
        }
        for (const SettingField& f : fields) {
            if (line->Name != plat::Upper(f.name)) continue;
            if (!f.number) *f.text = line->Value;
            else if (plat::FitsInt(line->Value)) *f.number = plat::ToInt(line->Value);
            else overflowing.push_back(line->Name + "=" + line->Value);  // would wrap: the default stays
        }
    }
    // A damaged or hand-edited file must not lock the player out (a full
    // screen switch that is neither on nor off opens no window at all, a
    // size the display cannot show fails at every start) nor give volumes
    // past full.  What is repaired is named for the message.
    SettingsRepairs = overflowing;
    if (FullScreen != 0 && FullScreen != 1) {
        SettingsRepairs.push_back("FULL SCREEN=" + Num(FullScreen));
        FullScreen = 0;
    }
    if (!UsableScreenSize(ScreenWidth, ScreenHeight)) SettingsRepairs.push_back(UseDefaultScreenSize());
    for (auto [name, value] : {std::pair{"SOUND VOLUME", &SoundVolume}, std::pair{"MUSIC VOLUME", &MusicVolume},
                               std::pair{"SPEECH VOLUME", &SpeechVolume}, std::pair{"PARTICLES", &Particles}}) {
        if (Clamp100(*value) == *value) continue;
        SettingsRepairs.push_back(std::string(name) + "=" + Num(*value));
        *value = Clamp100(*value);
    }
}

std::string TGame::UseDefaultScreenSize() {
    const std::string was = "SCREEN WIDTH=" + Num(ScreenWidth) + ", SCREEN HEIGHT=" + Num(ScreenHeight);
    ScreenWidth = DefaultScreenWidth;
    ScreenHeight = DefaultScreenHeight;
    return was;
}

bool TGame::UsableScreenSize(int width, int height) const {
    if (width <= 0 || height <= 0) return false;
    if (UseVirtualResolution == 1 && (width < VirtualWidth || height < VirtualHeight)) return false;
    // The desktop is known once the graphics have been opened.
    if (DesktopWidth > 0 && DesktopHeight > 0 && (width > DesktopWidth || height > DesktopHeight)) return false;
    return ScreenSizes.empty() ||
           std::find(ScreenSizes.begin(), ScreenSizes.end(), std::pair{width, height}) != ScreenSizes.end();
}

std::string TGame::GoodExitFile() const {
    return UseCorrectPath ? SubPath + "GoodExit.dat" : std::string("data/GoodExit.dat");
}

std::string TGame::IniChangedFile() const {
    return UseCorrectPath ? SubPath + "inichanged.dat" : std::string("data/inichanged.dat");
}

void TGame::IniUpdate(int markChanged) {
    IniFill();
    Ini->Save();
    if (markChanged) plat::CreateFile(IniChangedFile());
}

void TGame::MakeGoodExit() {
    if (Game) plat::CreateFile(Game->GoodExitFile());
}

void TGame::CheckGoodExit() {
    const std::string good = GoodExitFile();
    const std::string changed = IniChangedFile();
    if (plat::FileExists(good)) {
        plat::DeleteFile(good);
    } else if (plat::FileExists(changed)) {
        // The last run ended abnormally after a setting had changed: the
        // settings may be what broke it, so go back to the defaults.
        RestoreDefaultSettings(false);
    }
    plat::DeleteFile(changed);
}

bool TGame::RestoreDefaultSettings(bool onlyWhenChanged) {
    // Only the player's profile name is kept.  The new file is built beside
    // the old one and replaces it only once it is completely written.
    const std::string settings = SettingsFileName() + ".ini";
    const plat::UserFileRead now = plat::ReadUserFile(settings, MaxUserTextBytes);
    if (now.state == plat::UserFileRead::UNREADABLE) {
        // The player's file is never replaced unseen, not even by this.
        ReportUnreadableFile(settings, now.reason);
        return false;
    }
    const std::string kept = IniReadValue(settings, "profile name");
    std::string text;
    bool haveText = false;
    auto in = plat::ReadStream(DataPrefix + "data/default.ini");
    if (in) {
        while (!plat::Eof(in)) {
            std::string line = plat::ReadLine(in);
            if (plat::Eof(in) && line.empty()) break;
            if (plat::Upper(IniKey(line)) == "PROFILE NAME") line = "PROFILE NAME=" + kept;
            text += line + "\r\n";
        }
        plat::CloseStream(in);
        haveText = true;
    }
    if (!haveText) {
        // The defaults are what a new shell holds, and the first size.
        auto defaults = plat::New<TGame>();
        defaults->IniFill();
        for (const auto& line : *defaults->Ini) {
            if (!line) continue;
            std::string value = line->Value;
            if (line->Name == "PROFILE NAME") value = kept;
            if (line->Name == "SCREEN WIDTH") value = Num(DefaultScreenWidth);
            if (line->Name == "SCREEN HEIGHT") value = Num(DefaultScreenHeight);
            text += line->Name + "=" + value + "\r\n";
        }
    }
    if (onlyWhenChanged && now.state == plat::UserFileRead::READ && std::string(now.bytes.begin(), now.bytes.end()) == text)
        return false;
    if (!plat::SaveTextAtomic(settings, text)) return false;
    plat::Notify("Default ini file restored!");
    return true;
}

void TGame::ParticlesSet(int value, int save) {
    Particles = Clamp100(value);
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
}

void TGame::ParticlesChange(int delta) {
    Particles = Clamp100(Particles + delta);
    IniUpdate(1);
    FixedRateLogic->Init();
}

}  // namespace fw
