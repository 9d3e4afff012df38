#include "outputtransport.h"

#include <QCoreApplication>

QString output_state_text(OutputState state)
{
    switch (state) {
    case OutputState::off:
        return QCoreApplication::translate("OutputTransport", "未启用");
    case OutputState::sending:
        return QCoreApplication::translate("OutputTransport", "发送中");
    case OutputState::waiting:
        return QCoreApplication::translate("OutputTransport", "等待中");
    case OutputState::error:
        break;
    }
    return QCoreApplication::translate("OutputTransport", "错误");
}

void OutputTransport::set_state(OutputState state, const QString &reason)
{
    current = state;
    why = reason;
}

void OutputTransport::count_error(const QString &text)
{
    ++error_count;
    last_error_text = text;
    set_state(OutputState::error, text);
}
