#include "commandplayer.h"

#include <utility>

CommandPlayer::CommandPlayer(Write write, Pause pause)
    : write(std::move(write)), pause(std::move(pause))
{
}

CommandPlayer::Result CommandPlayer::play(const QVector<CommandStep> &steps)
{
    if (active)
        return busy;
    active = true;
    stopped = false;
    Result result = done;
    for (const CommandStep &step : steps) {
        result = play_step(step);
        if (result != done)
            break;
    }
    active = false;
    return result;
}

CommandPlayer::Result CommandPlayer::play_step(const CommandStep &step)
{
    const int pieces = step.one_by_one ? step.bytes.size() : 1;
    for (int i = 0; i < pieces; ++i) {
        if (stopped)
            return aborted;
        const QByteArray bytes = step.one_by_one ? step.bytes.mid(i, 1) : step.bytes;
        if (!write(bytes))
            return stopped ? aborted : write_failed;
        if (step.one_by_one && !pause(char_pause_ms))
            return aborted;
    }
    if (stopped || !pause(step.pause_ms))
        return aborted;
    return stopped ? aborted : done;
}
