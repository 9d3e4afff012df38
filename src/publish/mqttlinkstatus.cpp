#include "mqttlinkstatus.h"

#include <QCoreApplication>

QString MqttLinkStatus::state_text(State state)
{
    switch (state) {
    case State::disconnected:
        return QCoreApplication::translate("MqttLinkStatus", "未连接");
    case State::connecting:
        return QCoreApplication::translate("MqttLinkStatus", "正在连接");
    case State::connected:
        return QCoreApplication::translate("MqttLinkStatus", "已连接");
    case State::error:
        return QCoreApplication::translate("MqttLinkStatus", "连接失败");
    }
    return QString();
}
