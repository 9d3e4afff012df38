#include "mqttlinkstatus.h"

QString MqttLinkStatus::state_text(State state)
{
    switch (state) {
    case State::disconnected:
        return QStringLiteral("未连接");
    case State::connecting:
        return QStringLiteral("正在连接");
    case State::connected:
        return QStringLiteral("已连接");
    case State::error:
        return QStringLiteral("连接失败");
    }
    return QString();
}
