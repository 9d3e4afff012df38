#include "outputeditor.h"

#include "fittingcombobox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

QString kind_caption(OutputConfig::Kind kind)
{
    switch (kind) {
    case OutputConfig::serial:
        return QCoreApplication::translate("OutputEditor", "串口");
    case OutputConfig::udp:
        return QStringLiteral("UDP");
    case OutputConfig::tcp:
        break;
    }
    return QStringLiteral("TCP");
}

QString format_caption(SentenceFormat format)
{
    switch (format) {
    case SentenceFormat::sv2:
        return QCoreApplication::translate("OutputEditor", "声速 2 位小数");
    case SentenceFormat::sv3:
        return QCoreApplication::translate("OutputEditor", "声速 3 位小数");
    case SentenceFormat::svt:
        return QCoreApplication::translate("OutputEditor", "声速和温度");
    case SentenceFormat::line:
        return QCoreApplication::translate("OutputEditor", "仪器原始行");
    case SentenceFormat::json:
        break;
    }
    return QStringLiteral("JSON");
}

QString gate_caption(OutputGate::Mode gate)
{
    return gate == OutputGate::every_valid
        ? QCoreApplication::translate("OutputEditor", "全部有效读数")
        : QCoreApplication::translate("OutputEditor", "仅合格读数");
}

static QString gate_tip()
{
    return QCoreApplication::translate("OutputEditor", "哪些读数输出");
}

static QComboBox *combo(const char *name, const QString &tip)
{
    auto *box = new FittingComboBox;
    box->setObjectName(name);
    box->setToolTip(tip);
    return box;
}

namespace {

// A field as wide as its hint and the longest usual entry need in the font
// it is shown in, whatever the style sheet makes that.
class SampleEdit : public QLineEdit
{
public:
    SampleEdit(const QString &hint, const QString &sample) : sample(sample)
    {
        setPlaceholderText(hint);
        setToolTip(hint);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override
    {
        const int text = qMax(fontMetrics().horizontalAdvance(placeholderText()),
                              fontMetrics().horizontalAdvance(sample));
        QStyleOptionFrame option;
        option.initFrom(this);
        option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
        const int margin = 2; // as QLineEdit leaves on either side of its text
        const QSize size(text + 2 * margin, QLineEdit::sizeHint().height());
        return style()->sizeFromContents(QStyle::CT_LineEdit, &option, size, this);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    QString sample;
};

} // namespace

// sample: the longest entry the field is meant to show whole.
static QLineEdit *line_edit(const char *name, const QString &hint, const QString &sample)
{
    auto *edit = new SampleEdit(hint, sample);
    edit->setObjectName(name);
    return edit;
}

OutputEditor::OutputEditor(QWidget *parent)
    : QWidget(parent), kind(combo("kind", tr("输出方式"))),
      serial_name(line_edit("serial_name", tr("串口名或设备路径"), QStringLiteral("/dev/ttyUSB0"))),
      baud(combo("baud", tr("波特率"))),
      host(line_edit("host", tr("目标主机"), QStringLiteral("255.255.255.255"))),
      port(line_edit("port", tr("端口"), QStringLiteral("65535"))),
      format(combo("format", tr("语句格式"))), gate(combo("gate", gate_tip())),
      hold(new QCheckBox(tr("保持上一合格值")))
{
    hold->setObjectName("hold");
    hold->setToolTip(tr("读数被拦截时，每秒重发上一合格值，直到数据过期"));
    for (auto k : {OutputConfig::serial, OutputConfig::udp, OutputConfig::tcp})
        kind->addItem(kind_caption(k), int(k));
    for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        baud->addItem(QString::number(rate), rate);
    for (auto f : {SentenceFormat::sv2, SentenceFormat::sv3, SentenceFormat::svt,
                   SentenceFormat::line, SentenceFormat::json})
        format->addItem(format_caption(f), int(f));
    for (auto g : {OutputGate::good_only, OutputGate::every_valid})
        gate->addItem(gate_caption(g), int(g));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (QWidget *field :
         std::initializer_list<QWidget *>{kind, serial_name, baud, host, port, format, gate, hold})
        row->addWidget(field);
    load(OutputConfig());
    connect(kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OutputEditor::show_kind_fields);
}

void OutputEditor::load(const OutputConfig &config)
{
    kind->setCurrentIndex(kind->findData(int(config.kind)));
    serial_name->setText(config.serial_name);
    if (baud->findData(config.baud) < 0)
        baud->addItem(QString::number(config.baud), config.baud);
    baud->setCurrentIndex(baud->findData(config.baud));
    host->setText(config.host);
    port->setText(config.port ? QString::number(config.port) : QString());
    format->setCurrentIndex(format->findData(int(config.format)));
    gate->setCurrentIndex(gate->findData(int(config.gate)));
    hold->setChecked(config.hold);
    show_kind_fields();
}

bool OutputEditor::read(OutputConfig *config, QString *error) const
{
    OutputConfig draft;
    draft.kind = OutputConfig::Kind(kind->currentData().toInt());
    draft.format = SentenceFormat(format->currentData().toInt());
    draft.gate = OutputGate::Mode(gate->currentData().toInt());
    draft.hold = hold->isChecked();
    draft.serial_name = serial_name->text();
    draft.baud = baud->currentData().toInt();
    // Hidden fields stay out, so a host left from before cannot stand in
    // for an empty one.
    if (draft.kind == OutputConfig::udp)
        draft.host = host->text();
    QVariantMap map = draft.to_map();
    map.insert(QStringLiteral("port"), port->text());
    return OutputConfig::from_map(map, config, error);
}

void OutputEditor::show_kind_fields()
{
    const auto chosen = OutputConfig::Kind(kind->currentData().toInt());
    serial_name->setVisible(chosen == OutputConfig::serial);
    baud->setVisible(chosen == OutputConfig::serial);
    host->setVisible(chosen == OutputConfig::udp);
    port->setVisible(chosen != OutputConfig::serial);
}

void OutputEditor::show_good(const QString &good)
{
    const QString tip = tr("%1\n合格读数：%2").arg(gate_tip(), good);
    if (gate->toolTip() != tip)
        gate->setToolTip(tip);
}
