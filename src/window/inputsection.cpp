#include "inputsection.h"

#include "station.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

static const char automatic_text[] = QT_TRANSLATE_NOOP("InputSection", "自动识别");

QString recognised_format_text(const QString &name)
{
    return InputSection::tr("已识别输入格式：%1").arg(name);
}

InputSection::InputSection(Station *station, QWidget *parent)
    : SettingsSection(parent), station(station), format(new QComboBox),
      ignore_checksums(new QCheckBox(tr("忽略校验和"))), start_text(new QLineEdit),
      now_reading(new QLabel)
{
    format->setObjectName("input_format");
    format->addItem(tr(automatic_text), QStringLiteral("auto"));
    // By their machine names, as the README's table and --input-format name them.
    for (int i = 0; i < format_count; ++i) {
        const QString name = QString::fromLatin1(format_name(FormatId(i)));
        format->addItem(name, name);
    }
    ignore_checksums->setToolTip(tr("校验和不符的语句也作为读数（有的探头发送错误的校验和）"));
    start_text->setObjectName("start_text");
    start_text->setPlaceholderText(tr("打开串口后发送，例如 start\\r"));
    start_text->setToolTip(tr("仅在按名称选择格式时发送，自动识别时从不发送；"
                              "可用 \\r \\n \\t \\\\ 和 \\xHH"));
    now_reading->setObjectName("input_now");
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(tr("输入格式")), 0, 0);
    grid->addWidget(format, 0, 1);
    grid->addWidget(ignore_checksums, 0, 2);
    grid->addWidget(new QLabel(tr("启动字符串")), 1, 0);
    grid->addWidget(start_text, 1, 1, 1, 2);
    grid->addWidget(now_reading, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    connect(format, QOverload<int>::of(&QComboBox::activated), this, &InputSection::apply);
    connect(ignore_checksums, &QCheckBox::clicked, this, &InputSection::apply);
    connect(start_text, &QLineEdit::editingFinished, this, &InputSection::apply);
    connect(station, &Station::input_changed, this, &InputSection::show_format);
}

void InputSection::show_current()
{
    const InputChoice &input = station->input();
    format->setCurrentIndex(format->findData(QString::fromLatin1(input.format.name())));
    ignore_checksums->setChecked(input.ignore_checksums);
    start_text->setText(input.start_text);
    show_format();
}

void InputSection::apply()
{
    InputChoice input;
    QByteArray bytes;
    if (!start_bytes(start_text->text(), &bytes)) {
        emit said(tr("启动字符串中有无法识别的转义（可用 \\r \\n \\t \\\\ \\xHH）"), true);
        return;
    }
    InputFormat::from_name(format->currentData().toString().toStdString(), &input.format);
    input.ignore_checksums = ignore_checksums->isChecked();
    input.start_text = start_text->text();
    if (input == station->input())
        return;
    station->set_input(input);
    emit said(tr("输入格式：%1")
                  .arg(input.format.automatic ? tr(automatic_text)
                                              : QString::fromLatin1(input.format.name())),
              false);
}

// The line below the choices: the format read now, and how it came to be.
void InputSection::show_format()
{
    const InputChoice &input = station->input();
    start_text->setEnabled(!input.format.automatic);
    const std::optional<FormatId> now = station->format();
    if (!input.format.automatic)
        now_reading->setText(tr("按名称读取 %1 格式").arg(format_name(input.format.format)));
    else if (now)
        now_reading->setText(recognised_format_text(QString::fromLatin1(format_name(*now))));
    else
        now_reading->setText(
            tr("%1中：连续三行同一格式即确定（$ 行一行即确定）").arg(tr(automatic_text)));
}
