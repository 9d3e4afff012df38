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
    bool only_pane() const { return changed == Pane; }

    enum Change { Speed = 1, Average = 2, Temperature = 4, Pane = 8 };
    struct Frame
    {
        int changed = 0; // Change bits
        QString speed, average, temperature, pane;
    };
    // Takes what changed; without the pane, its text waits for a later frame.
    Frame take(bool with_pane = true);

private:
    void set(QString &field, const QString &text, Change change);
    void trim_pane();

    int keep;
    int changed = 0;
    QString speed, average, temperature, pane;
    int pane_paragraphs = 0;
};

#endif
