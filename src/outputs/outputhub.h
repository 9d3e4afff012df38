#ifndef OUTPUTHUB_H
#define OUTPUTHUB_H

#include "outputchannel.h"
#include "outputconfig.h"
#include "readingsink.h"

#include <QObject>
#include <QTimer>
#include <QVector>

// The outputs to a sonar or acquisition software, up to 8, each with its own
// destination, format and gate. As a consumer of readings it hands each
// reading to every enabled output and tells the log how many sent it.
// Adding, removing, editing, enabling and disabling apply at once. A timer
// inside repeats held values and retries lost destinations; tests stop it
// and call tick() with their own clock.
class OutputHub : public QObject, public ReadingSink
{
    Q_OBJECT

public:
    static constexpr int max_outputs = 8;
    static constexpr int tick_ms = 200;

    explicit OutputHub(QObject *parent = nullptr);

    // The new output's index, or -1 when there are already 8.
    int add(const OutputConfig &config);
    bool set_config(int index, const OutputConfig &config);
    bool set_enabled(int index, bool on);
    bool remove(int index);
    void clear();

    int count() const { return channels.size(); }
    OutputConfig config(int index) const;
    QVector<OutputConfig> configs() const;
    OutputStatus status(int index) const;
    QVector<OutputStatus> statuses() const;

    // How long a held value may be repeated after the last good reading:
    // the acquisition's stale deadline.
    void set_stale_after(qint64 ms);

    void tick(qint64 now_ms);
    // For tests that drive tick() with a time of their own.
    void stop_timer()
    {
        ticking = false;
        timer.stop();
    }

    int take(const Measurement &measurement) override;
    void reject(const Reading &line, qint64 utc_ms) override;
    void stale(bool stale, qint64 utc_ms) override;

signals:
    // One line for the status pane, naming the output.
    void message(const QString &line);

private:
    bool valid(int index) const { return index >= 0 && index < channels.size(); }

    QVector<OutputChannel *> channels;
    QTimer timer;
    bool ticking = true;
    qint64 stale_ms = OutputGate::default_stale_ms;
};

#endif
