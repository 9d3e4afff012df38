#ifndef PENDINGFRAME_H
#define PENDINGFRAME_H

#include <QString>

// What the next screen frame must show: the latest display texts and the
// pane text added since the last frame. Lines are handled as they arrive;
// the screen catches up once per frame with the same result.
class PendingFrame
{
public:
    // keep: paragraphs the pane keeps (0 keeps all); a longer batch keeps
    // only its newest keep paragraphs, as the pane would.
    explicit PendingFrame(int keep) : keep(keep) { }

    void set_speed(const QString &text) { set(speed, text, Speed); }
    void set_average(const QString &text) { set(average, text, Average); }
    void set_temperature(const QString &text) { set(temperature, text, Temperature); }
    void append_pane(const QString &text);

    bool empty() const { return changed == 0; }

    enum Change { Speed = 1, Average = 2, Temperature = 4, Pane = 8 };
    struct Frame
    {
        int changed = 0; // Change bits
        QString speed, average, temperature, pane;
    };
    // At most ten frames a second, each with the newest values: a change is
    // due at once when no frame was drawn for frame_ms, else frame_ms after
    // the last. Milliseconds until the next frame is due; -1 with nothing
    // to draw. A clock that went back waits no longer than one frame.
    static constexpr int frame_ms = 100;
    qint64 wait_ms(qint64 now_ms) const;
    // Takes what changed as the frame drawn at now_ms.
    Frame take(qint64 now_ms);

private:
    void set(QString &field, const QString &text, Change change);
    void trim_pane();

    int keep;
    int changed = 0;
    QString speed, average, temperature, pane;
    int pane_paragraphs = 0;
    qint64 last_frame_ms = -frame_ms; // none drawn yet
};

#endif
