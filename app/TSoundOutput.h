#pragma once
// Somewhere a sound file can be played once, asynchronously. Every failure
// (missing file, no sound device, an unknown format) is silent.
#include <functional>
#include <string>

class TSoundOutput {
public:
    virtual ~TSoundOutput() = default;
    // Starts one play of the file, stopping any play still going; false when it cannot start.
    virtual bool Play(const std::string& file) = 0;
    virtual void Stop() = 0;
    // Called on the user-interface thread each time a play has run to its end
    // (not after Stop, and not when playing failed).
    std::function<void()> OnPlayed;
};
