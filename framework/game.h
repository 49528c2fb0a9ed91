#pragma once
// TGame: the application shell.  One instance, the global Game, created by
// the main program.  It owns the settings file, the folder layout, the
// graphics and sound set-up, pause and focus handling, the fixed-rate main
// loop and the current screen.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/debug.h"
#include "framework/mouse.h"
#include "framework/screen.h"
#include "framework/timing.h"
#include "platform/audio/audio.h"
#include "platform/core/object.h"
#include "platform/gfx/font.h"

namespace fw {

class TIniFile;
class TSprite;
class TGameImage;
class TGameSound;
class TChannelArray;
class THighScoreList;
class TLoadingScreen;
class TProfile;

// The window or full-screen size (from the settings), and the size a new
// or repaired settings file starts with.
inline constexpr int DefaultScreenWidth = 800, DefaultScreenHeight = 600;
extern int ScreenWidth;
extern int ScreenHeight;
// How frames are presented: 1 vertical sync, 0 none, -1 paced by the
// refresh rate.
extern int FlipSync;
// The virtual drawing resolution, applied again after every graphics change
// while UseVirtualResolution is 1.
extern int VirtualWidth;
extern int VirtualHeight;
extern int UseVirtualResolution;

// Shell key codes (virtual-key codes).
extern int KeyPause;
extern int KeyVolumeDown;
extern int KeyVolumeUp;
extern int KeyInstantExit;
extern int KeyFullScreen;
extern int KeyMinimise;
extern int KeyMusic;
extern int KeySound;
extern int KeyFast;
extern int KeySlowMotion;
extern int KeyScreenshot;
extern int KeyFlipSync;
extern int KeyNoTiming;
extern int KeyVSync;
extern int KeyGraphicsDriver;
extern int KeySoundDriver;
extern int KeyDebug;

class TGame : public plat::Object {
public:
    TGame();
    ~TGame() override;

    plat::Ref<TIniFile> Ini;
    std::string VersionNumber = "0.1";
    int FullScreen = 1;
    int ForceWindowedMode = 0;
    int Hertz = 60;
    int Depth = 0;
    int DesktopRefreshRate = 0, GameRefreshRate = 0;
    int Fast = 0;
    int LastFlipSync = 0;
    int SlowMotion = 0;
    float SlowMotionSpeed = 0.25f;
    float CurrentSpeed = 1.0f;
    int WindowHandle = 0;
    int WindowX = 0, WindowY = 0;
    int ClientX = 0, ClientY = 0;
    float ScrollX = 0, ScrollY = 0;
    plat::Ref<TScreen> CurrentTScreen, DestinationTScreen, LastTScreen;
    int LagFix = 0;
    int VSync = 1;
    int FadeOnExit = 1;
    int NoTiming = 0;
    int NoTimingTicks = 1;
    int Driver = 0;  // 0 Direct3D, 1 OpenGL
    std::string DirectXVersion;
    int FadeMouse = 0;
    int DesktopWidth = 0, DesktopHeight = 0;
    int FullScreenProcess = 0, FullScreenThread = 0, WindowedProcess = 0, WindowedThread = 0;
    int DataInAppBundle = 0;
    int UseCorrectPath = 1;
    std::string SubPath = "Tolvenhart/My Game/";
    std::string DataPrefix;
    std::string ImagePath, SoundPath, MusicPath, SpeechPath, MenuPath, ProfilePath, TextPath,
        LevelsPath;
    int Sound = 1, Music = 1, Speech = 1;
    int SoundVolume = 100, MusicVolume = 100;
    int CustomMusicVolume = 0;
    int SpeechVolume = 100;
    plat::Ref<plat::TSound> MusicSample;
    plat::Ref<plat::TChannel> MusicChannel;
    std::string MusicFileName = "none", MusicName = "none";
    int MusicLooped = 1, MusicRestart = 1;
    int MusicStopped = 0;
    float MusicFadeIn = 50.0f;
    float MusicFadeInCounter = 0, MusicFadeInDelay = 0;
    float MusicFadeOut = 1000.0f;
    float MusicFadeOutCounter = 0;
    float PauseFadeLength = 100.0f;
    float PauseFadeCounter = 0;
    int PauseFadeDirection = 0;
    plat::Ref<plat::TChannel> SpecialChannel;
    int FadeMusic = 1;
    plat::Ref<TGameSound> EscapeSound;
    plat::Ref<plat::TChannel> EscapeChannel;
    std::string SoundDriver = "FreeAudio";
    plat::Ref<TChannelArray> Channels;
    plat::Ref<plat::TChannel> SpeechChannel;
    int SpeechStopped = 0;
    plat::Ref<TSprite> SpritePaused;
    int FirstTime = 1;
    int InstantExit = 0;
    int Fade = 1;
    int NoFade = 0;
    int NoDraw = 0;
    int Particles = 80;
    int PortalSplash = 0, PortalSplash2 = 0, IntroShow = 0;
    int Paused = 0;
    int DimWhenPaused = 1;
    int PauseOnLossOfFocus = 0, PauseOnLossOfFullScreenFocus = 0;
    int PausedMusicState = 1, PausedSpeechState = 1;
    int Suspended = 0;
    int BlockKeys = 0;
    int MaxLevels = 10;
    int TerminatedEvent = 0;
    std::function<int()> TerminatedUserFunction;  // non-zero refuses a close request
    int SuspendedEvent = 0;
    int IgnoreEscapeKey = 0, IgnoreFrameworkKeys = 0, IgnorePauseKey = 0, IgnoreDebugKey = 0;
    std::string OSVersion = "Mac OSX";
    std::function<int()> PausedUserFunction, UserSuspendFunction, UserResumeFunction;
    plat::Ref<TFixedRateLogic> FixedRateLogic;
    int Debug = 0;
    plat::Ref<plat::TImageFont> DebugImageFont;
    int DebugImageFontGap = 12;
    int DebugShadow = 1;
    int DebugShowFPSOnly = 0;
    float DebugPanel = 0.4f;
    int Debug1 = 0, Debug2 = 0;
    float Debug3 = 0, Debug4 = 0;
    int DebugDisplayX = 0, DebugDisplayY = 0;
    plat::Ref<TDebugVar> LogicTime, DrawTime, CodeTime;
    plat::Ref<TFPSCounter> FPS;
    int GraphicPlacement = 0;
    int gpX = 0, gpY = 0;
    plat::Ref<TLoadingScreen> LoadingScreen;
    plat::Ref<TScreen> ExitScreen;
    plat::Ref<TGameFade> GameFade;
    plat::Ref<TMousePointer> Mouse;
    plat::Ref<THighScoreList> HighScores;
    plat::Ref<TProfile> CurrentProfile;
    std::string ProfileName;
    int Region = 0, SubRegion = 0;
    // The window sizes the program offers; a stored size that is not one of
    // them is not used.  Empty: any size from the virtual resolution up to
    // the desktop.
    std::vector<std::pair<int, int>> ScreenSizes;
    // What the last IniExtract found damaged and repaired ("FULL SCREEN=7"
    // and the like); empty when every value was usable.
    std::vector<std::string> SettingsRepairs;

    // --- start-up, folders, settings, crash recovery ---------------------------
    virtual int Init(int soundDriverChoice);
    virtual void IniFill();
    virtual void IniExtract();
    virtual void IniUpdate(int markChanged);
    static void MakeGoodExit();
    virtual void CheckGoodExit();
    virtual void SetDefaultPaths();
    virtual void SetSubPath(const std::string& sub);
    virtual void SetSubPathWrapper(const std::string& sub);
    virtual void ApplySubPath();
    virtual void SetImagePath(const std::string& path);
    virtual void SetSoundPath(const std::string& path);
    virtual void SetMusicPath(const std::string& path);
    virtual void SetSpeechPath(const std::string& path);
    virtual void SetMenuPath(const std::string& path);
    virtual void SetProfilePath(const std::string& path);
    virtual void SetTextPath(const std::string& path);
    virtual void SetLevelsPath(const std::string& path);
    virtual void ParticlesSet(int value, int save);
    virtual void ParticlesChange(int delta);
    virtual void Kill();
    virtual void DeleteAllProfiles();
    virtual int ProfileFolderInUse();
    // The settings file without ".ini", and the two marker files.
    std::string SettingsFileName() const;
    std::string GoodExitFile() const;
    std::string IniChangedFile() const;
    // Whether a window or full screen of width x height can be used: at
    // least the virtual resolution, no larger than the desktop (once the
    // graphics have measured it), and one of ScreenSizes when the program
    // names them.
    bool UsableScreenSize(int width, int height) const;
    // Goes back to the default size; returns the settings it replaced, for
    // the message.
    std::string UseDefaultScreenSize();
    // Replaces the settings file by the default one, keeping the profile
    // name, and tells the player "Default ini file restored!".  With
    // onlyWhenChanged nothing happens when the file already is the default
    // one.  False when nothing was written.
    bool RestoreDefaultSettings(bool onlyWhenChanged);

    // --- graphics and window ---------------------------------------------------
    virtual void GraphicsCreate();
    virtual int GetActiveWindowSafe();
    virtual void SetPriority();
    virtual void ToggleFullScreen();
    virtual void ToggleVSync();
    virtual int SetDriver(int opengl);
    virtual void ToggleResolution(int width, int height);
    virtual void SetWindowCoords();
    virtual void SetClientCoords();
    virtual void SetFlipSync();
    virtual void TakeScreenshot();
    virtual void RestoreMouseCoords();

    // --- timing and the main loop ---------------------------------------------
    virtual int MainLogicLoop();
    virtual int LogicWrapper();
    virtual void ScreenDraw();
    virtual void PostDraw();
    float CalcAnimLength(int ms) const;
    float CalcAnimLengthFromFloat(float ms) const;
    int CalcMilliSecsFromFrames(int ticks) const;
    virtual void FastOn();
    virtual void FastOff();
    virtual void SlowMotionOn();
    virtual void SlowMotionOff();

    // --- screens and fades -----------------------------------------------------
    virtual void ScreenChange();
    int Fading() const;
    void FadeOff();
    virtual void MoveBar();

    // --- events, keys, pause, focus --------------------------------------------
    virtual void DoPeekEvent();
    virtual int ReadKeys();
    virtual int CheckWindow();
    virtual int GameTerminated();
    virtual void TogglePause();
    virtual void Pause();
    virtual void UnPause();
    virtual void SpritePausedCreate(const plat::Ref<TGameImage>& image);
    virtual void ShowPaused();
    virtual void SetGP(int x, int y);

    // --- debug overlay ----------------------------------------------------------
    virtual void DebugReset();
    virtual void DebugPrint();

    // --- music, sound and speech ------------------------------------------------
    virtual int MusicLoad(const std::string& file, int looped);
    virtual int MusicSet(const plat::Ref<plat::TSound>& sound, const std::string& name, int looped);
    virtual int MusicStop();
    virtual int MusicPlay(int fadeIn, int customVolume, int silent);
    virtual int MusicNone();
    virtual int GetMusicVolume();
    virtual float MusicFadeInCalc();
    virtual float MusicFadeOutCalc();
    virtual int MusicFadeInApply();
    virtual int MusicFadeOutApply();
    virtual int MusicFadeInManage();
    virtual int MusicFadeOutManage();
    virtual int MusicFadeOutSet(float ms);
    virtual int MusicSetVolume(int volume, int save);
    virtual int MusicChangeVolume(int delta);
    virtual int ToggleMusic();
    virtual int MusicOff();
    virtual int MusicOn();
    virtual float PauseFadeCalc();
    virtual int PauseFadeApply();
    virtual int PauseFadeManage();
    virtual int ChannelsCreate(int count);
    virtual int ChannelsKill();
    virtual int ChangeSoundDriver(const std::string& name, int save);
    virtual int SoundPlay(const plat::Ref<plat::TSound>& sound);
    virtual int SoundPlaySameChannel(plat::Ref<plat::TChannel>& channel,
                                     const plat::Ref<plat::TSound>& sound);
    virtual int SoundPlayReturnChannel(plat::Ref<plat::TChannel>& channel,
                                       const plat::Ref<plat::TSound>& sound, float rate);
    virtual int GameSoundPlay(plat::Ref<plat::TChannel>& channel,
                              const plat::Ref<TGameSound>& gameSound, float pan);
    virtual int SoundSetVolume(int volume, int save);
    virtual int SoundChangeVolume(int delta);
    virtual int ToggleSound();
    virtual int SoundOff();
    virtual int SoundOn();
    virtual int SpeechStop();
    virtual int SpeechPlay(const plat::Ref<TGameSound>& gameSound, int interrupt);
    virtual int SpeechSetVolume(int volume, int save);
    virtual int SpeechChangeVolume(int delta);
    virtual int SpeechOff();
    virtual int SpeechOn();
    virtual int StopChannels();
    virtual int SetEscapeSound(const std::string& file);
    virtual int EscapeSoundPlay();

private:
    // Starts the 500 ms fade-out to the exit screen for a close request.
    void StartExitFade();
};

// The application shell (nullptr until the main program creates it).
extern plat::Ref<TGame> Game;

}  // namespace fw
