#include "livereport.h"

#include "trendmodel.h"

#include <QCoreApplication>

ReviewLog review_log_from(const TrendModel &model)
{
    const TrendBuffer &buffer = model.buffer();
    ReviewLog log;
    log.kind = ReviewLog::Kind::csv;
    const size_t size = size_t(buffer.size());
    log.time.reserve(size);
    log.speed.reserve(size);
    log.temperature.reserve(size);
    log.average.reserve(size);
    log.quality.reserve(size);
    for (int i = 0; i < buffer.size(); ++i) {
        const TrendSample &sample = buffer.at(i);
        log.time.push_back(sample.msecs);
        log.speed.push_back(sample.speed);
        log.temperature.push_back(sample.temperature);
        log.average.push_back(float(sample.average));
        log.quality.push_back(quint8(sample.quality));
    }
    if (!buffer.empty()) {
        log.start_ms = buffer.at(0).msecs;
        log.end_ms = buffer.last().msecs;
    }
    log.notes << QCoreApplication::translate(
                     "LiveReport",
                     "未记录日志：报告取自实时缓存中的 %n 个读数（最多两小时），"
                     "不含更早的读数和事件；本次会话共 %1 个畸形行，时间未知",
                     nullptr, buffer.size())
                     .arg(model.malformed_count());
    return log;
}
