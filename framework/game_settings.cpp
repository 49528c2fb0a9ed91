// TGame: the settings keys, saving them, particles and crash recovery.

#include <algorithm>

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

void TGame::IniFill() {
    Ini->Clear();
    Ini->Add("Version No", "0.1");
    Ini->Add("Full Screen", Num(FullScreen));
    Ini->Add("Screen Width", Num(ScreenWidth));
    Ini->Add("Screen Height", Num(ScreenHeight));
    Ini->Add("Sound", Num(Sound));
    Ini->Add("Music", Num(Music));
    Ini->Add("Speech", Num(Speech));
    Ini->Add("Sound Volume", Num(SoundVolume));
    Ini->Add("Music Volume", Num(MusicVolume));
    Ini->Add("Speech Volume", Num(SpeechVolume));
    Ini->Add("Fade", Num(Fade));
    Ini->Add("Particles", Num(Particles));
    Ini->Add("Portal Splash", Num(PortalSplash));
    Ini->Add("Portal Splash2", Num(PortalSplash2));
    Ini->Add("Intro", Num(IntroShow));
    Ini->Add("VSync", Num(VSync));
    Ini->Add("Driver", Num(Driver));
    Ini->Add("Sound Driver", SoundDriver);
    Ini->Add("Full Screen Process Priority", Num(FullScreenProcess));
    Ini->Add("Full Screen Thread Priority", Num(FullScreenThread));
    Ini->Add("Windowed Process Priority", Num(WindowedProcess));
    Ini->Add("Windowed Thread Priority", Num(WindowedThread));
    Ini->Add("Profile Name", ProfileName);
    Ini->Add("Region", Num(Region));
    Ini->Add("Sub-Region", Num(SubRegion));
}

void TGame::IniExtract() {
    struct IntKey {
        const char* name;
        int* field;
    };
    const IntKey ints[] = {
        {"FULL SCREEN", &FullScreen},
        {"SCREEN WIDTH", &ScreenWidth},
        {"SCREEN HEIGHT", &ScreenHeight},
        {"SOUND", &Sound},
        {"MUSIC", &Music},
        {"SPEECH", &Speech},
        {"SOUND VOLUME", &SoundVolume},
        {"MUSIC VOLUME", &MusicVolume},
        {"SPEECH VOLUME", &SpeechVolume},
        {"FADE", &Fade},
        {"PARTICLES", &Particles},
        {"PORTAL SPLASH", &PortalSplash},
        {"PORTAL SPLASH2", &PortalSplash2},
        {"INTRO", &IntroShow},
        {"VSYNC", &VSync},
        {"DRIVER", &Driver},
        {"FULL SCREEN PROCESS PRIORITY", &FullScreenProcess},
        {"FULL SCREEN THREAD PRIORITY", &FullScreenThread},
        {"WINDOWED PROCESS PRIORITY", &WindowedProcess},
        {"WINDOWED THREAD PRIORITY", &WindowedThread},
        {"REGION", &Region},
        {"SUB-REGION", &SubRegion},
    };
    for (const auto& line : *Ini) {
        if (!line) continue;
        const std::string& key = line->Name;
        if (key == "VERSION NO") VersionNumber = line->Value;
        else if (key == "SOUND DRIVER") SoundDriver = line->Value;
        else if (key == "PROFILE NAME") ProfileName = line->Value;
        else {
            for (const auto& k : ints)
                if (key == k.name) *k.field = plat::ToInt(line->Value);
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
