#ifndef OUTPUTHUB_H
#define OUTPUTHUB_H

#include "outputchannel.h"
#include "outputconfig.h"
#include "readingsink.h"

#include <QObject>
#include <QVector>

// The outputs to a sonar or acquisition software, up to 8, each with its own
// destination, format and gate. As a consumer of readings it hands each
// reading to every enabled output and tells the log how many sent it.
// Adding, removing, editing, enabling and disabling apply at once. tick(),
// called on the station's clock while there are outputs, repeats held values
// and retries lost destinations.
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

    void tick(qint64 now_ms);

    int take(const Measurement &measurement) override;
    int waiting(qint64 sequence) const override;
    void reject(const Reading &line, qint64 utc_ms) override;
    void stale(bool stale, qint64 utc_ms) override;
    // The port closed on purpose, lost or back: every output waits, saying
    // why, until readings come again.
    void event(const QString &name, qint64 utc_ms) override;
    // Why the outputs wait after a port event (port_closed, port_lost,
    // port_back); empty for any other event.
    static QString waiting_reason(const QString &event);

signals:
    // One line for the status pane, naming the output.
    void message(const QString &line);
    // An output was added, removed or changed: tick() may be due sooner.
    void configured();
    // The sentence of this reading, waiting for its line, went out (sent)
    // or never will.
    void sent_late(qint64 sequence, bool sent);

private:
    bool valid(int index) const { return index >= 0 && index < channels.size(); }

    QVector<OutputChannel *> channels;
    QString waiting_for; // since the last port event, until readings come
};

#endif
