#include "platform/SoundBank.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

// Handles keep the mixer channel in the low byte and a playback serial above it.
constexpr uint32_t kChannelBits = 8;
constexpr int kMaxChannels = 1 << kChannelBits;

bool OpenDevice()
{
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

} // namespace

SoundBank::~SoundBank()
{
    Close();
}

bool SoundBank::Open()
{
    if (open)
        return true;
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);
    open = OpenDevice();
    if (!open) {
        // No usable sound hardware (a server, a container): the silent device still
        // lets effects decode and play, so the program runs the same.
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
        open = OpenDevice();
    }
    if (open)
        channelHandles.assign(static_cast<size_t>(Mix_AllocateChannels(-1)), 0);
    return open;
}

void SoundBank::Close()
{
    if (!open)
        return;
    Mix_HaltChannel(-1);
    for (auto& [handle, chunk] : effects)
        Mix_FreeChunk(chunk);
    effects.clear();
    channelHandles.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open = false;
}

uint32_t SoundBank::Load(const std::vector<uint8_t>& bytes)
{
    if (bytes.empty() || !Open())
        return 0;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream)
        return 0;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);
    if (!chunk)
        return 0;
    uint32_t handle = nextEffect++;
    effects[handle] = chunk;
    return handle;
}

uint32_t SoundBank::Play(uint32_t effect, int volume, int pan, bool loop)
{
    auto it = effects.find(effect);
    if (it == effects.end())
        return 0;
    int channel = Mix_PlayChannel(-1, it->second, loop ? -1 : 0);
    if (channel < 0 && Mix_AllocateChannels(-1) < kMaxChannels) {
        // Every channel is busy: grow the mixer rather than drop the sound.
        int count = Mix_AllocateChannels(-1);
        count = Mix_AllocateChannels(count * 2 < kMaxChannels ? count * 2 : kMaxChannels);
        channelHandles.resize(static_cast<size_t>(count), 0);
        channel = Mix_PlayChannel(-1, it->second, loop ? -1 : 0);
    }
    if (channel < 0 || channel >= static_cast<int>(channelHandles.size()))
        return 0;
    volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    Mix_Volume(channel, volume * MIX_MAX_VOLUME / 100);
    pan = pan < -100 ? -100 : pan > 100 ? 100 : pan;
    // Full level on both sides at the centre; 255, 255 also removes an earlier pan.
    int left = pan > 0 ? 255 - pan * 255 / 100 : 255;
    int right = pan < 0 ? 255 + pan * 255 / 100 : 255;
    Mix_SetPanning(channel, static_cast<Uint8>(left), static_cast<Uint8>(right));
    uint32_t handle = (nextPlay++ << kChannelBits) | static_cast<uint32_t>(channel);
    if (nextPlay >= (1u << (32 - kChannelBits)))
        nextPlay = 1;
    channelHandles[static_cast<size_t>(channel)] = handle;
    return handle;
}

int SoundBank::ChannelOf(uint32_t handle) const
{
    if (!open || handle == 0)
        return -1;
    uint32_t channel = handle & (kMaxChannels - 1);
    if (channel >= channelHandles.size() || channelHandles[channel] != handle)
        return -1;
    return static_cast<int>(channel);
}

bool SoundBank::IsPlaying(uint32_t channel) const
{
    int mixerChannel = ChannelOf(channel);
    return mixerChannel >= 0 && Mix_Playing(mixerChannel) != 0;
}

void SoundBank::Stop(uint32_t channel)
{
    int mixerChannel = ChannelOf(channel);
    if (mixerChannel >= 0)
        Mix_HaltChannel(mixerChannel);
}
