// TGame: construction, start-up, folders, Kill and the profile folder.

#include <ctime>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/highscore.h"
#include "framework/ini.h"
#include "framework/loading.h"
#include "framework/profile.h"
#include "framework/sprite.h"
#include "framework/system.h"
#include "platform/audio/audio.h"
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "platform/sys/system.h"

namespace fw {

plat::Ref<TGame> Game;

int ScreenWidth = DefaultScreenWidth;
int ScreenHeight = DefaultScreenHeight;
int FlipSync = 1;
int VirtualWidth = 320;
int VirtualHeight = 240;
int UseVirtualResolution = 1;

TGame::TGame()
    : Ini(plat::New<TIniFile>()),
      FixedRateLogic(plat::New<TFixedRateLogic>()),
      LogicTime(plat::New<TDebugVar>()),
      DrawTime(plat::New<TDebugVar>()),
      CodeTime(plat::New<TDebugVar>()),
      FPS(plat::New<TFPSCounter>()),
      LoadingScreen(plat::New<TLoadingScreen>()),
      ExitScreen(plat::New<TExitScreen>()),
      GameFade(plat::New<TGameFade>()),
      Mouse(plat::New<TMousePointer>()),
      HighScores(plat::New<THighScoreList>()) {}

TGame::~TGame() = default;

// --- folders -----------------------------------------------------------------------

void TGame::SetDefaultPaths() {
    SetImagePath(DataPrefix + "Data/graphics");
    SetSoundPath(DataPrefix + "Data/sound");
    SetMusicPath(DataPrefix + "Data/music");
    SetSpeechPath(DataPrefix + "Data/speech");
    SetMenuPath(DataPrefix + "Data/menus");
    SetProfilePath(UseCorrectPath ? std::string("profiles") : DataPrefix + "Data/profiles");
    SetTextPath(DataPrefix + "Data/text");
    SetLevelsPath(DataPrefix + "Data/levels");
}

void TGame::SetSubPath(const std::string& sub) {
    SubPath = sub.empty() ? std::string() : EnsureTrailingSlash(sub);
    if (UseCorrectPath) {
        SubPath = EnsureTrailingSlash(SpecialFolderPath(35)) + SubPath;
        ApplySubPath();
    }
    ErrorLogFolder = SubPath;
}

void TGame::SetSubPathWrapper(const std::string& sub) {
    SetDefaultPaths();
    SetSubPath(sub);
}

void TGame::ApplySubPath() { ProfilePath = SubPath + ProfilePath; }

void TGame::SetImagePath(const std::string& path) { ImagePath = EnsureTrailingSlash(path); }
void TGame::SetSoundPath(const std::string& path) { SoundPath = EnsureTrailingSlash(path); }
void TGame::SetMusicPath(const std::string& path) { MusicPath = EnsureTrailingSlash(path); }
void TGame::SetSpeechPath(const std::string& path) { SpeechPath = EnsureTrailingSlash(path); }
void TGame::SetMenuPath(const std::string& path) { MenuPath = EnsureTrailingSlash(path); }
void TGame::SetProfilePath(const std::string& path) { ProfilePath = EnsureTrailingSlash(path); }
void TGame::SetTextPath(const std::string& path) { TextPath = EnsureTrailingSlash(path); }
void TGame::SetLevelsPath(const std::string& path) { LevelsPath = EnsureTrailingSlash(path); }

std::string TGame::SettingsFileName() const {
    // A debug build ("name.debug") shares the release build's settings.
    const std::string name = plat::StripDir(ReleaseExeName());
    return UseCorrectPath ? SubPath + name : name;
}

// --- start-up ----------------------------------------------------------------------

int TGame::Init(int soundDriverChoice) {
    plat::SeedRnd(static_cast<std::uint32_t>(plat::MilliSecs()));

    FixedRateLogic->Label = "Ticks   ";
    LogicTime->Label = "Logic   ";
    DrawTime->Label = "Draw    ";
    CodeTime->Label = "Code    ";
    FPS->Label = "FPS     ";

    if (UseCorrectPath && plat::FileType(SubPath) != plat::FILETYPE_DIR) {
        if (!plat::CreateDir(SubPath, true)) {
            ReportError("Cannot create shared data folder " + SubPath, 1);
            return 0;
        }
        std::string os = plat::OSName();
        if (os != "Windows 95" && os != "Windows 98" && os != "Windows ME") {
            // Every folder from SubPath up to (not including) the shared
            // data folder itself.
            std::string shared = EnsureTrailingSlash(SpecialFolderPath(35));
            std::string path = SubPath;
            while (path.size() > shared.size()) {
                if (!GrantFileAccess(path)) {
                    ReportError("Cannot give shared data folder full access!", 1);
                    return 0;
                }
                std::string up = path;
                while (!up.empty() && (up.back() == '/' || up.back() == '\\')) up.pop_back();
                std::size_t cut = up.find_last_of("/\\");
                if (cut == std::string::npos) break;
                path = up.substr(0, cut + 1);
            }
        }
    }

    Ini->FileName = SettingsFileName();
    IniFill();
    const std::string settingsFile = Ini->FileName + ".ini";
    const std::string templateFile = DataPrefix + "data/Default.ini";
    if (plat::FileType(templateFile) == plat::FILETYPE_FILE) {
        // The template's values are the defaults: what a first start, a
        // missing key and every repair of the player's file get.
        Ini->ReadFrom(templateFile);
        IniExtract();
        IniFill();
        if (!plat::FileExists(settingsFile)) plat::CopyFile(templateFile, settingsFile);
    }
    // As Ini->Load(), but a damaged file is kept aside before the repaired
    // values replace it, and one that cannot be read is left alone.
    Ini->Read();
    IniExtract();
    std::string damage = Ini->Damage;
    for (const std::string& repair : SettingsRepairs) damage += (damage.empty() ? "" : ", ") + repair;
    if (damage.empty() || !plat::FileExists(settingsFile))
        Ini->Save();
    else if (ReportDamagedFile(settingsFile, damage))
        IniUpdate(0);
    // What a save killed half-way left behind.
    plat::RemoveStaleTempFiles(SubPath);

    if (plat::FileType(ProfilePath) != plat::FILETYPE_DIR) {
        if (!plat::CreateDir(ProfilePath, false)) {
            ReportError("Cannot create shared profiles folder " + ProfilePath, 1);
            return 0;
        }
    }

    SetFlipSync();

    // Every system but Windows XP takes the OpenAL driver at once, so the
    // driver chosen here is opened (and saved) only there: saving it first
    // would write the settings at every start whose sound cannot be opened
    // ("None" becomes "FreeAudio", then "None" again), and on a full disk
    // stop a start that changes nothing.
    OSVersion = plat::OSName();
    if (OSVersion == "Windows XP") {
        if (soundDriverChoice < 1) {
            ChangeSoundDriver(SoundDriver == "None" ? std::string("FreeAudio") : SoundDriver, 0);
        } else if (soundDriverChoice == 1) {
            ChangeSoundDriver("FreeAudio", 0);
        } else if (soundDriverChoice == 2) {
            ChangeSoundDriver("DirectSound", 0);
        } else if (soundDriverChoice == 3) {
            ChangeSoundDriver("OpenAL Generic Software", 0);
        }
    } else {
        SoundDriver = "OpenAL Generic Software";
        ChangeSoundDriver("OpenAL Generic Software", 0);
    }

    FixedRateLogic->Create();

    MusicChannel = plat::AllocChannel();
    SpeechChannel = plat::AllocChannel();
    EscapeChannel = plat::AllocChannel();
    return 1;
}

// --- end ---------------------------------------------------------------------------

void TGame::Kill() {
    for (auto* channel : {&MusicChannel, &SpeechChannel, &EscapeChannel}) {
        if (*channel) (*channel)->Stop();
        *channel = nullptr;
    }
    ChannelsKill();
}

void TGame::DeleteAllProfiles() {
    for (const std::string& entry : plat::LoadDir(ProfilePath, true)) {
        if (entry == "." || entry == "..") continue;
        if (plat::ExtractExt(entry) == "dat") plat::DeleteFile(ProfilePath + entry);
    }
}

int TGame::ProfileFolderInUse() {
    auto dir = plat::ReadDir(ProfilePath);
    if (!dir) {
        ReportError("Failed to read directory '" + ProfilePath + "'", 1);
        return 0;
    }
    for (const std::string& entry : dir->entries) {
        if (entry == "." || entry == ".." || entry == ".dat") continue;
        if (plat::ExtractExt(entry) == "dat") return 1;
    }
    return 0;
}

}  // namespace fw
