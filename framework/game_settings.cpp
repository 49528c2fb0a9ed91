// TGame: the settings keys, saving them, particles and crash recovery.

#include <algorithm>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "framework/game.h"
#include "framework/ini.h"
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
    for (const auto& line : *Ini) {
        if (!line) continue;
        if (line->Name == "VERSION NO") {
            VersionNumber = line->Value;
            continue;
        }
        for (const SettingField& f : fields) {
            if (line->Name != plat::Upper(f.name)) continue;
            if (f.number) *f.number = plat::ToInt(line->Value);
            else *f.text = line->Value;
        }
    }
    // A damaged file must not give a window of no size or volumes past full.
    if (ScreenWidth <= 0 || ScreenHeight <= 0) {
        ScreenWidth = 800;
        ScreenHeight = 600;
    }
    SoundVolume = Clamp100(SoundVolume);
    MusicVolume = Clamp100(MusicVolume);
    SpeechVolume = Clamp100(SpeechVolume);
    Particles = Clamp100(Particles);
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
        // settings may be what broke it, so go back to the defaults, keeping
        // only the player's profile name.  The new file is built beside the
        // old one and replaces it only once it is completely written.
        const std::string settings = SettingsFileName() + ".ini";
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
            IniFill();
            for (const auto& line : *Ini) {
                if (!line) continue;
                std::string value = line->Name == "PROFILE NAME" ? kept : line->Value;
                text += line->Name + "=" + value + "\r\n";
            }
        }
        if (plat::SaveTextAtomic(settings, text)) plat::Notify("Default ini file restored!");
    }
    plat::DeleteFile(changed);
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
