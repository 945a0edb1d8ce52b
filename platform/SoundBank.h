#pragma once

#include <cstdint>
#include <map>
#include <vector>

struct Mix_Chunk;

// Sound effects on SDL2_mixer. Effects are decoded in memory; channel handles
// name one playback, so a stale handle never touches a later sound on the same
// mixer channel. Without sound hardware the mixer runs on SDL's silent dummy
// device, so effects still decode and playing is silent.
class SoundBank {
public:
    SoundBank() = default;
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // Opens the mixer once; false when no device, not even the silent one, opens.
    bool Open();
    void Close();

    // Decodes a sound file (WAV, MP3, OGG...). 0 when it cannot be decoded.
    uint32_t Load(const std::vector<uint8_t>& bytes);
    // Plays once (or looping); volume 0-100, pan -100..100. Never 0 for a loaded effect.
    uint32_t Play(uint32_t effect, int volume, int pan, bool loop);
    bool IsPlaying(uint32_t channel) const;
    void Stop(uint32_t channel);

private:
    // Mixer channel of a handle, or -1 when the handle no longer names its playback.
    int ChannelOf(uint32_t handle) const;

    bool open = false;
    uint32_t nextEffect = 1;
    uint32_t nextPlay = 1;
    std::map<uint32_t, Mix_Chunk*> effects;
    // Handle of the playback last started on each mixer channel.
    std::vector<uint32_t> channelHandles;
};
