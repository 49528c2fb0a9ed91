// TGame: the shell's music track, sound effects, speech, the channel pool
// and the audio driver.

#include <algorithm>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/game.h"
#include "platform/audio/audio.h"
#include "platform/core/text.h"

namespace fw {

namespace {

int Clamp100(int v) { return std::clamp(v, 0, 100); }

// A fade whose length comes to no ticks at all counts as finished.
float Progress(float lengthTicks, float counter) {
    if (!(lengthTicks > 0)) return 1.0f;
    return (lengthTicks - counter) / lengthTicks;
}

}  // namespace

int TGame::MusicLoad(const std::string& file, int looped) {
    if (Music) {
        MusicStop();
        MusicSample = LoadSoundOrDie(MusicPath + file, looped);
    }
    MusicLooped = looped;
    MusicRestart = 1;
    MusicFileName = file;
    return 0;
}

int TGame::MusicSet(const plat::Ref<plat::TSound>& sound, const std::string& name, int looped) {
    if (Music) {
        MusicStop();
        MusicSample = sound;
    }
    MusicLooped = looped;
    MusicRestart = 1;
    MusicFileName = name;
    return 0;
}

int TGame::MusicStop() {
    if (Music && MusicChannel && MusicChannel->Playing()) {
        MusicChannel->Stop();
        MusicChannel = plat::AllocChannel();
    }
    MusicRestart = 1;
    return 0;
}

int TGame::MusicPlay(int fadeIn, int customVolume, int silent) {
    CustomMusicVolume = customVolume;
    if (!Music) {
        MusicRestart = 1;
    } else if (MusicChannel && MusicSample) {
        MusicFadeInCounter = fadeIn ? CalcAnimLength(static_cast<int>(MusicFadeIn - 1.0f)) : 0.0f;
        plat::CueSound(MusicSample, MusicChannel);
        MusicFadeInApply();
        if (silent) MusicChannel->SetVolume(0);
        plat::ResumeChannel(MusicChannel);
        MusicRestart = 0;
        MusicStopped = 0;
    }
    MusicName = MusicFileName;
    return 0;
}

int TGame::MusicNone() {
    MusicFileName = "none";
    MusicName = "none";
    MusicRestart = 1;
    return 0;
}

int TGame::GetMusicVolume() {
    if (CustomMusicVolume == 0) return MusicVolume;
    return static_cast<int>(static_cast<float>(MusicVolume) * (static_cast<float>(CustomMusicVolume) / 100.0f));
}

float TGame::MusicFadeInCalc() {
    return Progress(CalcAnimLength(static_cast<int>(MusicFadeIn)), MusicFadeInCounter);
}

float TGame::MusicFadeOutCalc() {
    return Progress(CalcAnimLength(static_cast<int>(MusicFadeOut)), MusicFadeOutCounter);
}

int TGame::MusicFadeInApply() {
    const float f = MusicFadeIn > 0 ? MusicFadeInCalc() : 1.0f;
    if (MusicChannel) MusicChannel->SetVolume(static_cast<float>(GetMusicVolume()) / 100.0f * f);
    return 0;
}

int TGame::MusicFadeOutApply() {
    const float f = MusicFadeOut > 0 ? MusicFadeOutCalc() : 1.0f;
    if (MusicChannel) MusicChannel->SetVolume(static_cast<float>(GetMusicVolume()) / 100.0f * (1.0f - f));
    return 0;
}

int TGame::MusicFadeInManage() {
    if (MusicFadeInDelay > 0) {
        MusicFadeInDelay -= Delta;
        if (MusicFadeInDelay >= 0) return 0;
        MusicFadeInDelay = 0;
    }
    if (MusicFadeInCounter > 0) {
        MusicFadeInCounter = std::max(0.0f, MusicFadeInCounter - Delta);
        MusicFadeInApply();
    }
    return 0;
}

int TGame::MusicFadeOutManage() {
    if (MusicFadeOutCounter > 0) {
        MusicFadeOutCounter = std::max(0.0f, MusicFadeOutCounter - Delta);
        MusicFadeOutApply();
    }
    return 0;
}

int TGame::MusicFadeOutSet(float ms) {
    // Whole milliseconds, as MusicFadeOutCalc measures the length: a
    // counter longer than that length would start the fade above full
    // volume.
    MusicFadeOut = ms;
    MusicFadeOutCounter = CalcAnimLength(static_cast<int>(ms));
    return 0;
}

int TGame::MusicSetVolume(int volume, int save) {
    MusicVolume = Clamp100(volume);
    if (MusicChannel) MusicChannel->SetVolume(static_cast<float>(GetMusicVolume()) / 100.0f);
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::MusicChangeVolume(int delta) { return MusicSetVolume(Clamp100(MusicVolume + delta), 1); }

int TGame::ToggleMusic() {
    if (Paused) return 0;
    if (Music) MusicOff();
    else MusicOn();
    IniUpdate(1);
    FixedRateLogic->Init();
    return 0;
}

int TGame::MusicOff() {
    if (SpecialChannel) plat::PauseChannel(SpecialChannel);
    if (MusicRestart) return 0;
    Music = 0;
    if (MusicChannel) plat::PauseChannel(MusicChannel);
    MusicRestart = 0;
    return 1;
}

int TGame::MusicOn() {
    if (SpecialChannel) plat::ResumeChannel(SpecialChannel);
    if (Music == 1) return 0;
    Music = 1;
    if (MusicRestart == 1 || !MusicChannel) {
        // With no track set ("none") there is nothing to load: loading the
        // file "none" would end the program.
        if (MusicFileName == "none") return 1;
        MusicLoad(MusicFileName, MusicLooped);
        if (MusicName != "none") MusicPlay(1, 0, 0);
    } else if (MusicLooped || MusicStopped == 0) {
        plat::ResumeChannel(MusicChannel);
    }
    return 1;
}

float TGame::PauseFadeCalc() {
    return Progress(CalcAnimLength(static_cast<int>(PauseFadeLength)), PauseFadeCounter);
}

int TGame::PauseFadeApply() {
    float f = 1.0f;
    if (PauseFadeLength > 0) {
        f = PauseFadeCalc();
        if (PauseFadeDirection == 0) f = 1.0f - f;
    }
    if (MusicChannel) MusicChannel->SetVolume(static_cast<float>(GetMusicVolume()) / 100.0f * f);
    return 0;
}

int TGame::PauseFadeManage() {
    if (PauseFadeCounter > 0) {
        PauseFadeCounter = std::max(0.0f, PauseFadeCounter - Delta);
        PauseFadeApply();
    }
    return 0;
}

int TGame::ChannelsCreate(int count) {
    Channels = TChannelArray::Create(count);
    Channels->MaxVol = static_cast<float>(count);
    return 0;
}

int TGame::ChannelsKill() {
    if (Channels) {
        Channels->Kill();
        Channels = nullptr;
    }
    return 0;
}

int TGame::ChangeSoundDriver(const std::string& name, int save) {
    if (plat::Left(name, 6) == "OpenAL") plat::EnableOpenALAudio();
    SoundDriver = plat::SetAudioDriver(name) ? name : std::string("None");
    IniUpdate(save);
    FixedRateLogic->Init();
    return 0;
}

int TGame::SoundPlay(const plat::Ref<plat::TSound>& sound) {
    if (!Sound || !sound) return 0;
    auto channel = plat::CueSound(sound);
    if (!channel) return 0;
    channel->SetVolume(static_cast<float>(SoundVolume) / 100.0f);
    plat::ResumeChannel(channel);
    return 0;
}

int TGame::SoundPlaySameChannel(plat::Ref<plat::TChannel>& channel, const plat::Ref<plat::TSound>& sound) {
    if (!Sound || !sound || !channel) return 0;
    if (channel->Playing()) channel->SetVolume(0.1f);
    plat::CueSound(sound, channel);
    channel->SetVolume(static_cast<float>(SoundVolume) / 100.0f);
    plat::ResumeChannel(channel);
    return 0;
}

int TGame::SoundPlayReturnChannel(plat::Ref<plat::TChannel>& channel, const plat::Ref<plat::TSound>& sound,
                                  float rate) {
    if (!Sound || !sound) return 0;
    if (channel && channel->Playing()) channel->SetVolume(0.1f);
    channel = plat::CueSound(sound);
    if (!channel) return 0;
    channel->SetVolume(static_cast<float>(SoundVolume) / 100.0f);
    channel->SetRate(rate);
    plat::ResumeChannel(channel);
    return 0;
}

int TGame::GameSoundPlay(plat::Ref<plat::TChannel>& channel, const plat::Ref<TGameSound>& gameSound,
                         float pan) {
    if (!Sound) return 0;
    if (channel && channel->Playing()) channel->SetVolume(0.1f);
    if (!channel || !gameSound || !gameSound->sound) return 0;
    plat::CueSound(gameSound->sound, channel);
    float volume = static_cast<float>(SoundVolume) / 100.0f * gameSound->volume;
    if (GameFade->Active) volume *= GameFade->Ratio;
    channel->SetVolume(volume);
    channel->SetPan(pan);
    channel->SetRate(gameSound->pitch);
    plat::ResumeChannel(channel);
    return 0;
}

int TGame::SoundSetVolume(int volume, int save) {
    SoundVolume = Clamp100(volume);
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::SoundChangeVolume(int delta) { return SoundSetVolume(Clamp100(SoundVolume + delta), 1); }

int TGame::ToggleSound() {
    if (Sound) SoundOff();
    else SoundOn();
    IniUpdate(1);
    FixedRateLogic->Init();
    return 0;
}

int TGame::SoundOff() {
    Sound = 0;
    return 0;
}

int TGame::SoundOn() {
    Sound = 1;
    return 0;
}

int TGame::SpeechStop() {
    if (Speech && SpeechChannel && SpeechChannel->Playing()) {
        SpeechChannel->Stop();
        SpeechChannel = plat::AllocChannel();
    }
    return 0;
}

int TGame::SpeechPlay(const plat::Ref<TGameSound>& gameSound, int interrupt) {
    if (!Speech || !SpeechChannel) return 0;
    if (SpeechChannel->Playing() && interrupt == 0) return 0;
    if (!gameSound || !gameSound->sound) return 0;
    plat::CueSound(gameSound->sound, SpeechChannel);
    SpeechChannel->SetVolume(static_cast<float>(SpeechVolume) / 100.0f);
    plat::ResumeChannel(SpeechChannel);
    SpeechStopped = 0;
    return 0;
}

int TGame::SpeechSetVolume(int volume, int save) {
    SpeechVolume = Clamp100(volume);
    if (SpeechChannel) SpeechChannel->SetVolume(static_cast<float>(SpeechVolume) / 100.0f);
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::SpeechChangeVolume(int delta) { return SpeechSetVolume(Clamp100(SpeechVolume + delta), 1); }

int TGame::SpeechOff() {
    Speech = 0;
    if (SpeechChannel) plat::PauseChannel(SpeechChannel);
    return 1;
}

int TGame::SpeechOn() {
    if (Speech == 1) return 0;
    Speech = 1;
    if (SpeechChannel && SpeechStopped == 0) plat::ResumeChannel(SpeechChannel);
    return 1;
}

int TGame::StopChannels() {
    if (MusicChannel) MusicChannel->Stop();
    MusicChannel = plat::AllocChannel();
    if (SpeechChannel) SpeechChannel->Stop();
    SpeechChannel = plat::AllocChannel();
    return 0;
}

int TGame::SetEscapeSound(const std::string& file) {
    EscapeSound = TGameSound::Create(SoundPath + file + ".wav", 0);
    return 0;
}

int TGame::EscapeSoundPlay() {
    if (EscapeSound) EscapeSound->PlayInChannel(EscapeChannel, 0);
    return 0;
}

}  // namespace fw
