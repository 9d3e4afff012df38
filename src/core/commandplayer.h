#ifndef COMMANDPLAYER_H
#define COMMANDPLAYER_H

#include "commandsequence.h"

#include <functional>

// Plays configuration sequences on the line, one at a time: commands typed
// one character at a time with char_pause_ms after each, pauses between
// steps. The write and the pause are handed in, so the window gives its own
// and tests give a fake clock.
class CommandPlayer
{
public:
    // True when every byte was taken.
    using Write = std::function<bool(const QByteArray &bytes)>;
    // False when the wait was cut short (the program is quitting).
    using Pause = std::function<bool(int ms)>;

    enum Result { done, busy, write_failed, aborted };

    static const int char_pause_ms = 20;

    CommandPlayer(Write write, Pause pause);

    // Plays steps to the end unless a write fails or abort() is called
    // meanwhile; a sequence asked for while one plays is refused (busy), so
    // two never interleave on the line.
    Result play(const QVector<CommandStep> &steps);
    // Ends the sequence in progress at once: nothing more of it is written.
    void abort() { stopped = true; }
    bool playing() const { return active; }

private:
    Result play_step(const CommandStep &step);

    Write write;
    Pause pause;
    bool active = false;
    bool stopped = false;
};

#endif
