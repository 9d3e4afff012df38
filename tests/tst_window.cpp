#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <QtEndian>
#include <QtTest>

static const char style_sheet_path[] = ":/new/prefix1/QSS.qss";
static const char translation_path[] = ":/new/prefix1/qt_zh_CN.qm";

static const QRgb window_background = qRgb(148, 170, 214);

// Every polish of a display reports the one property of its style sheet that
// the toolkit does not know, and every shown window on the offscreen platform
// warns about size hints; keep both out of the test log.
static QtMessageHandler test_log_handler = nullptr;

static void quiet_handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != "Unknown property cursorVisible"
        && message != "This plugin does not support propagateSizeHints()")
        test_log_handler(type, context, message);
}

// Debug messages written while a test has its handler installed.
static QStringList debug_messages;
static QtMessageHandler previous_handler = nullptr;

static void record_debug_message(QtMsgType type, const QMessageLogContext &context,
                                 const QString &message)
{
    if (type == QtDebugMsg)
        debug_messages.append(message);
    else if (previous_handler)
        previous_handler(type, context, message);
}

static QByteArray style_sheet_bytes()
{
    QFile file(style_sheet_path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// One declaration per entry, "property:value" with all white space removed.
static QStringList compact_declarations(const QString &body)
{
    QStringList list;
    for (const QString &declaration : body.split(';')) {
        QString compact = declaration;
        compact.remove(QRegularExpression("\\s"));
        if (!compact.isEmpty())
            list.append(compact);
    }
    return list;
}

struct Rule
{
    QString selector;
    QStringList declarations;
};

// Reads "selector\r\n{ declarations }" blocks; anything else in the text
// is left in remainder, which the caller checks.
static QVector<Rule> parse_rules(const QString &text, QString *remainder)
{
    static const QRegularExpression rule_pattern("([^{}\\r\\n]+)\\r\\n\\{([^{}]*)\\}");
    QVector<Rule> rules;
    *remainder = text;
    QRegularExpressionMatchIterator it = rule_pattern.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        rules.append({match.captured(1).trimmed(), compact_declarations(match.captured(2))});
        remainder->replace(match.captured(0), QString());
    }
    return rules;
}

static QRgb dominant_colour(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb best = 0;
    int best_count = -1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        if (it.value() > best_count) {
            best = it.key();
            best_count = it.value();
        }
    }
    return best;
}

static QString colour_name(QRgb rgb)
{
    return QString("rgb(%1,%2,%3)").arg(qRed(rgb)).arg(qGreen(rgb)).arg(qBlue(rgb));
}

static QString font_text(const QFont &font)
{
    return QString("%1 %2pt weight %3%4")
        .arg(font.family())
        .arg(font.pointSize())
        .arg(font.weight())
        .arg(font.italic() ? " italic" : "");
}

static QStringList combo_items(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

static bool items_are_plain(const QComboBox *combo)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (!combo->itemIcon(i).isNull() || combo->itemData(i).isValid())
            return false;
    }
    return true;
}

struct Cell
{
    QWidget *widget;
    const char *name;
    int row, column, row_span, column_span;
};

// Where a widget sits in a grid, with its name so that a mismatch says which.
static QString cell_text(QGridLayout *grid, QWidget *widget, const char *name)
{
    const int index = grid ? grid->indexOf(widget) : -1;
    if (index < 0)
        return QString("%1 not in the grid").arg(name);
    int row, column, row_span, column_span;
    grid->getItemPosition(index, &row, &column, &row_span, &column_span);
    return QString("%1 at %2,%3 span %4x%5")
        .arg(name)
        .arg(row)
        .arg(column)
        .arg(row_span)
        .arg(column_span);
}

static QString cell_text(const Cell &cell)
{
    return QString("%1 at %2,%3 span %4x%5")
        .arg(cell.name)
        .arg(cell.row)
        .arg(cell.column)
        .arg(cell.row_span)
        .arg(cell.column_span);
}

static bool has_stretch(const QGridLayout *grid)
{
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->rowStretch(row) != 0)
            return true;
    }
    for (int column = 0; column < grid->columnCount(); ++column) {
        if (grid->columnStretch(column) != 0)
            return true;
    }
    return false;
}

class tst_Window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void construction_state();
    void object_names();
    void slot_table();
    void serial_box();
    void display_box();
    void configuration_area();
    void status_area();
    void widget_style_sheets();
    void fonts_data();
    void fonts();
    void port_choice_takes_typed_names();
    void grid_cells();
    void serial_focus_order();
    void style_sheet_resource();
    void style_sheet_applied();
    void resources();
    void translation();
    void avg_button_runs_its_slot_once_data();
    void avg_button_runs_its_slot_once();
    void save_data_button_runs_its_slot_once();
    void open_button_runs_its_slot_once();
    void config_buttons_run_their_slots_once();
    void outrate_edits_run_the_check();
    void key_press_writes_debug_message_data();
    void key_press_writes_debug_message();
    void status_pane_is_read_only();
    void fixed_size();
    void screenshot();
    void close_closes_recording_file();
    void closing_ends_event_loop_with_zero();

private:
    bool show_and_activate();

    QTranslator translator;
    bool translation_loaded = false;
    frmain *window = nullptr;
    ModalAnswerer *answerer = nullptr;
};

// The application is set up as the program's start-up does it.
void tst_Window::initTestCase()
{
    test_log_handler = qInstallMessageHandler(quiet_handler);

    // Checked in translation(), so that the other tests still run without it.
    translation_loaded = translator.load(translation_path, "", "", "");
    qApp->installTranslator(&translator);

    QFile file(style_sheet_path);
    QVERIFY(file.open(QFile::ReadOnly));
    const QString style_sheet = QLatin1String(file.readAll().constData());
    qApp->setStyleSheet(style_sheet);
    file.close();
}

void tst_Window::init()
{
    // Any box a test opens by mistake is answered rather than hanging the run.
    answerer = new ModalAnswerer;
    window = new frmain;
}

void tst_Window::cleanup()
{
    delete window;
    window = nullptr;
    delete answerer;
    answerer = nullptr;
}

bool tst_Window::show_and_activate()
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void tst_Window::construction_state()
{
    QVERIFY(!window->configuring);
    QVERIFY(!window->read_paused);
    QCOMPARE(window->avg_sum, 0.0);
    QCOMPARE(window->avg_count, 0u);
    QCOMPARE(window->avg_points, 5u);
    QVERIFY(window->read_buffer.isEmpty());
    QVERIFY(window->data_file_name.isEmpty());
    QVERIFY(window->field_list.isEmpty());
    QVERIFY(window->speed_text.isEmpty());
    QVERIFY(window->temp_text.isEmpty());

    QVERIFY(window->isWindow());
    QVERIFY(!window->parentWidget());
    QVERIFY(!window->isVisible());

    QVERIFY(window->my_com);
    QCOMPARE(window->my_com->parent(), window);
    QVERIFY(!window->my_com->isOpen());

    QVERIFY(window->data_file);
    QVERIFY(!window->data_file->parent());
    QVERIFY(window->data_file->fileName().isEmpty());
    QVERIFY(!window->data_file->isOpen());

    QCOMPARE(window->top_groupbox->parent(), window);
    QCOMPARE(window->machine_container->parent(), window);
    QCOMPARE(window->status_groupbox->parent(), window);
    QVERIFY(window->status_textedit->toPlainText().isEmpty());
}

void tst_Window::object_names()
{
    QCOMPARE(window->objectName(), QString("mainwindow"));
    QCOMPARE(window->status_textedit->objectName(), QString("staus_show"));
    QCOMPARE(window->output_lineedit->objectName(), QString("output_lineedit"));
    QCOMPARE(window->outrate_lineedit->objectName(), QString("outrate_lineedit"));
    QCOMPARE(window->avg_lineedit->objectName(), QString("avg_lineedit"));

    // Names starting with "qt_" are the toolkit's own, for parts of its widgets.
    QStringList named;
    for (QObject *object : window->findChildren<QObject *>()) {
        const QString name = object->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_"))
            named.append(name);
    }
    named.sort();
    QCOMPARE(named,
             QStringList({"avg_lineedit", "output_lineedit", "outrate_lineedit", "staus_show"}));
}

void tst_Window::slot_table()
{
    const QMetaObject *meta = window->metaObject();
    QCOMPARE(meta, &frmain::staticMetaObject);
    QCOMPARE(meta->className(), "frmain");
    QCOMPARE(meta->superClass(), &QWidget::staticMetaObject);

    struct Slot
    {
        const char *signature;
        const char *result;
        QList<QByteArray> parameter_names;
    };
    const Slot slots_expected[] = {
        {"data_setting()", "void", {}},
        {"every_connect()", "void", {}},
        {"machine_setting()", "void", {}},
        {"status_setting()", "void", {}},
        {"openCom1_slot()", "void", {}},
        {"ReadMyCom_slot()", "void", {}},
        {"Sleep(int)", "void", {"sec"}},
        {"send(QString)", "void", {"data"}},
        {"setting_button_slot()", "void", {}},
        {"save_setting_slot()", "void", {}},
        {"save_data_slot()", "bool", {}},
        {"one_byte_send(QString)", "void", {"str"}},
        {"outrange_warning_slot(QString)", "bool", {""}},
        {"avg_point_slot()", "void", {}},
    };
    const int count = int(sizeof(slots_expected) / sizeof(slots_expected[0]));
    QCOMPARE(meta->methodCount() - meta->methodOffset(), count);
    for (int i = 0; i < count; ++i) {
        const QMetaMethod method = meta->method(meta->methodOffset() + i);
        QCOMPARE(method.methodSignature(), QByteArray(slots_expected[i].signature));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Public);
        QCOMPARE(method.typeName(), slots_expected[i].result);
        QCOMPARE(method.parameterNames(), slots_expected[i].parameter_names);
    }

    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
    QCOMPARE(meta->enumeratorCount(), meta->enumeratorOffset());
    QCOMPARE(meta->classInfoCount(), meta->classInfoOffset());
    QCOMPARE(meta->constructorCount(), 0);
}

void tst_Window::serial_box()
{
    QVERIFY(window->top_groupbox->title().isEmpty());
    QCOMPARE(window->com_groupbox->title(), QString("串口参数设置"));

    QCOMPARE(window->port_label->text(), QString("串口号："));
    QCOMPARE(window->baud_label->text(), QString("波特率："));
    QCOMPARE(window->databits_label->text(), QString("数据位："));
    QCOMPARE(window->parity_label->text(), QString("校验位："));
    QCOMPARE(window->stopbits_label->text(), QString("停止位："));
    QCOMPARE(window->open_button->text(), QString("打开串口"));

    QComboBox *port = window->port_combobox;
    QStringList ports;
    for (int i = 1; i <= 11; ++i)
        ports.append(QString("COM%1").arg(i));
    QCOMPARE(combo_items(port), ports);
    QCOMPARE(port->currentIndex(), 0);
    QCOMPARE(port->currentText(), QString("COM1"));

    QCOMPARE(combo_items(window->baud_combobox),
             QStringList({"2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
    QCOMPARE(window->baud_combobox->currentIndex(), 2);
    QCOMPARE(window->baud_combobox->currentText(), QString("9600"));

    QCOMPARE(combo_items(window->databits_combobox), QStringList({"5", "6", "7", "8"}));
    QCOMPARE(window->databits_combobox->currentIndex(), 3);

    QCOMPARE(combo_items(window->parity_combobox),
             QStringList({"NONE ", "ODD ", "EVEN ", "MARK ", "SPACE "}));
    QCOMPARE(window->parity_combobox->currentIndex(), 0);

    QCOMPARE(combo_items(window->stopbits_combobox), QStringList({"1  bit", "1.5bit", "2  bit"}));
    QCOMPARE(window->stopbits_combobox->currentIndex(), 0);

    QComboBox *fixed_choices[] = {window->baud_combobox, window->databits_combobox,
                                  window->parity_combobox, window->stopbits_combobox};
    for (QComboBox *combo : fixed_choices)
        QVERIFY(!combo->isEditable());

    QComboBox *all_choices[] = {port, window->baud_combobox, window->databits_combobox,
                                window->parity_combobox, window->stopbits_combobox};
    for (QComboBox *combo : all_choices) {
        QVERIFY(combo->isEnabled());
        QVERIFY(items_are_plain(combo));
    }
    QVERIFY(window->open_button->isEnabled());
    QVERIFY(window->com_groupbox->isEnabled());
}

void tst_Window::display_box()
{
    QCOMPARE(window->display_groupbox->title(), QString("数据显示"));

    QCOMPARE(window->speed_label->text(), QString("实时声速:"));
    QCOMPARE(window->avg_speed_label->text(), QString("平均声速:"));
    QCOMPARE(window->temp_label->text(), QString("实时温度:"));
    QCOMPARE(window->speed_unit_label->text(), QString("m/s"));
    QCOMPARE(window->avg_speed_unit_label->text(), QString("m/s"));
    QCOMPARE(window->temp_unit_label->text(), QString(QChar(0x2103)));

    const QString display_style = "border: 2px solid gray;border-radius: 5px;padding: 0 8px;"
                                  "background: black;selection-background-color: black;"
                                  "color: red;cursorVisible : true";
    QLineEdit *displays[]
        = {window->speed_lineedit, window->avg_speed_lineedit, window->temp_lineedit};
    for (QLineEdit *display : displays) {
        QCOMPARE(display->text(), QString("0000.000"));
        QCOMPARE(int(display->alignment()), int(Qt::AlignCenter));
        QCOMPARE(display->minimumHeight(), 50);
        QCOMPARE(display->styleSheet(), display_style);
        QVERIFY(!display->isEnabled());
    }
}

void tst_Window::configuration_area()
{
    QVERIFY(window->machine_container->title().isEmpty());
    QCOMPARE(window->machine_groupbox->title(), QString("声速仪配置区"));

    QCOMPARE(window->machine_baud_label->text(), QString("声速仪波特率： "));
    QCOMPARE(window->outrate_label->text(), QString("声速仪输出速率："));
    QCOMPARE(window->range_label->text(), QString("范围: (1-30)"));
    QCOMPARE(window->temp_output_label->text(), QString("温 度 输 出 ： "));
    QCOMPARE(window->format_label->text(), QString("声速仪输出格式： "));
    QCOMPARE(window->avg_label->text(), QString("平均声速点数："));

    QCOMPARE(window->avg_button->text(), QString("设置点数"));
    QCOMPARE(window->send_config_button->text(), QString("发送配置"));
    QCOMPARE(window->save_config_button->text(), QString("保存配置"));
    QCOMPARE(window->save_data_button->text(), QString("保存数据"));
    QPushButton *buttons[] = {window->avg_button, window->send_config_button,
                              window->save_config_button, window->save_data_button};
    for (QPushButton *button : buttons)
        QVERIFY(button->isEnabled());

    QCOMPARE(combo_items(window->machine_baud_combobox),
             QStringList({"2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
    QCOMPARE(window->machine_baud_combobox->currentIndex(), 2);
    QVERIFY(window->machine_baud_combobox->isEnabled());

    QCOMPARE(combo_items(window->temp_output_combobox), QStringList({"允 许  ", "禁 止  "}));
    QCOMPARE(window->temp_output_combobox->currentIndex(), 0);
    QVERIFY(window->temp_output_combobox->isEnabled());

    QCOMPARE(combo_items(window->format_combobox), QStringList({"默认格式", "格式一", "格式二"}));
    QCOMPARE(window->format_combobox->currentIndex(), 0);
    QVERIFY(!window->format_combobox->isEnabled());

    QComboBox *choices[]
        = {window->machine_baud_combobox, window->temp_output_combobox, window->format_combobox};
    for (QComboBox *combo : choices) {
        QVERIFY(!combo->isEditable());
        QVERIFY(items_are_plain(combo));
    }

    QCOMPARE(window->outrate_lineedit->text(), QString("8"));
    QCOMPARE(window->avg_lineedit->text(), QString("5"));
    QLineEdit *entries[] = {window->outrate_lineedit, window->avg_lineedit};
    for (QLineEdit *entry : entries) {
        QCOMPARE(int(entry->alignment()), int(Qt::AlignCenter));
        QVERIFY(entry->isEnabled());
        QVERIFY(!entry->isReadOnly());
        QVERIFY(entry->styleSheet().isEmpty());
    }

    QVERIFY(window->output_lineedit->text().isEmpty());
    QVERIFY(!window->output_lineedit->isEnabled());
    QCOMPARE(window->output_lineedit->styleSheet(), QString("height:20px"));
}

void tst_Window::status_area()
{
    QCOMPARE(window->status_groupbox->title(), QString("状态显示区"));
    QTextEdit *pane = window->status_textedit;
    QVERIFY(pane->isReadOnly());
    QVERIFY(!pane->isUndoRedoEnabled());
    QVERIFY(pane->toPlainText().isEmpty());
    QVERIFY(pane->isEnabled());
}

// Only the displays and the disabled field carry a style sheet of their own;
// everything else takes its look from the application's.
void tst_Window::widget_style_sheets()
{
    QList<QWidget *> styled;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->styleSheet().isEmpty())
            styled.append(widget);
    }
    QCOMPARE(styled.size(), 4);
    QVERIFY(styled.contains(window->speed_lineedit));
    QVERIFY(styled.contains(window->avg_speed_lineedit));
    QVERIFY(styled.contains(window->temp_lineedit));
    QVERIFY(styled.contains(window->output_lineedit));
    QVERIFY(window->styleSheet().isEmpty());
}

void tst_Window::fonts_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("point_size");

    QTest::newRow("speed display") << "speed_lineedit"
                                   << "Times" << 30;
    QTest::newRow("average display") << "avg_speed_lineedit"
                                     << "Times" << 30;
    QTest::newRow("temperature display") << "temp_lineedit"
                                         << "Times" << 30;
    QTest::newRow("speed caption") << "speed_label"
                                   << "Helvetica" << 25;
    QTest::newRow("average caption") << "avg_speed_label"
                                     << "Helvetica" << 25;
    QTest::newRow("temperature caption") << "temp_label"
                                         << "Helvetica" << 25;
    QTest::newRow("speed unit") << "speed_unit_label"
                                << "Times" << 17;
    QTest::newRow("average unit") << "avg_speed_unit_label"
                                  << "Times" << 17;
    QTest::newRow("temperature unit") << "temp_unit_label"
                                      << "Times" << 17;
    QTest::newRow("output-rate entry") << "outrate_lineedit"
                                       << "SansSerif" << 8;
    QTest::newRow("averaging entry") << "avg_lineedit"
                                     << "SansSerif" << 8;
    QTest::newRow("status pane") << "status_textedit"
                                 << "Times" << 10;
}

// The fonts as the builders set them, before the style sheet polishes the
// widgets; all of them bold, none italic.
void tst_Window::fonts()
{
    QFETCH(QString, member);
    QFETCH(QString, family);
    QFETCH(int, point_size);

    const QHash<QString, QWidget *> widgets = {
        {"speed_lineedit", window->speed_lineedit},
        {"avg_speed_lineedit", window->avg_speed_lineedit},
        {"temp_lineedit", window->temp_lineedit},
        {"speed_label", window->speed_label},
        {"avg_speed_label", window->avg_speed_label},
        {"temp_label", window->temp_label},
        {"speed_unit_label", window->speed_unit_label},
        {"avg_speed_unit_label", window->avg_speed_unit_label},
        {"temp_unit_label", window->temp_unit_label},
        {"outrate_lineedit", window->outrate_lineedit},
        {"avg_lineedit", window->avg_lineedit},
        {"status_textedit", window->status_textedit},
    };
    QWidget *widget = widgets.value(member);
    QVERIFY(widget);
    QCOMPARE(font_text(widget->font()), font_text(QFont(family, point_size, 75)));
}

void tst_Window::port_choice_takes_typed_names()
{
    QComboBox *port = window->port_combobox;
    QVERIFY(port->isEditable());
    QVERIFY(port->lineEdit());
    QCOMPARE(port->lineEdit()->text(), QString("COM1"));
    const QStringList items = combo_items(port);

    const QStringList typed = {"/dev/ttyUSB0", "COM12", "ttyACM0"};
    for (const QString &name : typed) {
        port->lineEdit()->selectAll();
        QTest::keyClicks(port->lineEdit(), name);
        QTest::keyClick(port->lineEdit(), Qt::Key_Return);
        QCOMPARE(port->currentText(), name);
        QCOMPARE(combo_items(port), items);
    }

    // Picking a listed item still works as before.
    port->setCurrentIndex(9);
    QCOMPARE(port->currentText(), QString("COM10"));
}

void tst_Window::grid_cells()
{
    QGridLayout *main_grid = qobject_cast<QGridLayout *>(window->layout());
    QVERIFY(main_grid);
    const Cell main_cells[] = {
        {window->top_groupbox, "top_groupbox", 1, 1, 5, 4},
        {window->machine_container, "machine_container", 6, 1, 4, 4},
        {window->status_groupbox, "status_groupbox", 10, 1, 1, 4},
    };
    for (const Cell &cell : main_cells)
        QCOMPARE(cell_text(main_grid, cell.widget, cell.name), cell_text(cell));
    QCOMPARE(main_grid->count(), 3);

    QGridLayout *top_grid = qobject_cast<QGridLayout *>(window->top_groupbox->layout());
    QVERIFY(top_grid);
    const Cell top_cells[] = {
        {window->com_groupbox, "com_groupbox", 1, 1, 6, 1},
        {window->display_groupbox, "display_groupbox", 1, 2, 6, 3},
    };
    for (const Cell &cell : top_cells)
        QCOMPARE(cell_text(top_grid, cell.widget, cell.name), cell_text(cell));
    QCOMPARE(top_grid->count(), 2);

    QGridLayout *com_grid = qobject_cast<QGridLayout *>(window->com_groupbox->layout());
    QVERIFY(com_grid);
    const Cell com_cells[] = {
        {window->port_label, "port_label", 1, 1, 1, 2},
        {window->baud_label, "baud_label", 2, 1, 1, 2},
        {window->databits_label, "databits_label", 3, 1, 1, 2},
        {window->parity_label, "parity_label", 4, 1, 1, 2},
        {window->stopbits_label, "stopbits_label", 5, 1, 1, 2},
        {window->port_combobox, "port_combobox", 1, 3, 1, 2},
        {window->baud_combobox, "baud_combobox", 2, 3, 1, 2},
        {window->databits_combobox, "databits_combobox", 3, 3, 1, 2},
        {window->parity_combobox, "parity_combobox", 4, 3, 1, 2},
        {window->stopbits_combobox, "stopbits_combobox", 5, 3, 1, 2},
        {window->open_button, "open_button", 6, 1, 1, 4},
    };
    for (const Cell &cell : com_cells)
        QCOMPARE(cell_text(com_grid, cell.widget, cell.name), cell_text(cell));
    QCOMPARE(com_grid->count(), 11);

    QGridLayout *display_grid = qobject_cast<QGridLayout *>(window->display_groupbox->layout());
    QVERIFY(display_grid);
    const Cell display_cells[] = {
        {window->speed_label, "speed_label", 1, 1, 1, 1},
        {window->avg_speed_label, "avg_speed_label", 2, 1, 1, 1},
        {window->temp_label, "temp_label", 3, 1, 1, 1},
        {window->speed_lineedit, "speed_lineedit", 1, 2, 1, 3},
        {window->avg_speed_lineedit, "avg_speed_lineedit", 2, 2, 1, 3},
        {window->temp_lineedit, "temp_lineedit", 3, 2, 1, 3},
        {window->speed_unit_label, "speed_unit_label", 1, 5, 1, 1},
        {window->avg_speed_unit_label, "avg_speed_unit_label", 2, 5, 1, 1},
        {window->temp_unit_label, "temp_unit_label", 3, 5, 1, 1},
    };
    for (const Cell &cell : display_cells)
        QCOMPARE(cell_text(display_grid, cell.widget, cell.name), cell_text(cell));
    QCOMPARE(display_grid->count(), 9);

    QGridLayout *container_grid = qobject_cast<QGridLayout *>(window->machine_container->layout());
    QVERIFY(container_grid);
    QCOMPARE(cell_text(container_grid, window->machine_groupbox, "machine_groupbox"),
             QString("machine_groupbox at 0,0 span 1x1"));
    QCOMPARE(container_grid->count(), 1);

    QGridLayout *machine_grid = qobject_cast<QGridLayout *>(window->machine_groupbox->layout());
    QVERIFY(machine_grid);
    const Cell machine_cells[] = {
        {window->machine_baud_label, "machine_baud_label", 1, 1, 1, 1},
        {window->machine_baud_combobox, "machine_baud_combobox", 1, 2, 1, 1},
        {window->outrate_label, "outrate_label", 1, 3, 1, 1},
        {window->outrate_lineedit, "outrate_lineedit", 1, 4, 1, 5},
        {window->range_label, "range_label", 1, 9, 1, 1},
        {window->temp_output_label, "temp_output_label", 2, 1, 1, 1},
        {window->temp_output_combobox, "temp_output_combobox", 2, 2, 1, 1},
        {window->format_label, "format_label", 2, 3, 1, 1},
        {window->output_lineedit, "output_lineedit", 2, 4, 1, 5},
        {window->format_combobox, "format_combobox", 2, 9, 1, 1},
        {window->avg_label, "avg_label", 3, 1, 1, 1},
        {window->avg_lineedit, "avg_lineedit", 3, 2, 1, 1},
        {window->avg_button, "avg_button", 3, 3, 1, 1},
        {window->send_config_button, "send_config_button", 3, 5, 1, 1},
        {window->save_config_button, "save_config_button", 3, 7, 1, 1},
        {window->save_data_button, "save_data_button", 3, 9, 1, 1},
    };
    for (const Cell &cell : machine_cells)
        QCOMPARE(cell_text(machine_grid, cell.widget, cell.name), cell_text(cell));
    QCOMPARE(machine_grid->count(), 16);

    QGridLayout *grids[]
        = {main_grid, top_grid, com_grid, display_grid, container_grid, machine_grid};
    for (QGridLayout *grid : grids) {
        QVERIFY(!has_stretch(grid));
        for (int i = 0; i < grid->count(); ++i)
            QCOMPARE(int(grid->itemAt(i)->alignment()), 0);
    }

    QHBoxLayout *status_box = qobject_cast<QHBoxLayout *>(window->status_groupbox->layout());
    QVERIFY(status_box);
    QCOMPARE(status_box->count(), 1);
    QCOMPARE(status_box->itemAt(0)->widget(), window->status_textedit);
    QCOMPARE(status_box->stretch(0), 0);
    QCOMPARE(int(status_box->itemAt(0)->alignment()), 0);
}

void tst_Window::serial_focus_order()
{
    QVERIFY(show_and_activate());

    QWidget *expected[]
        = {window->port_combobox,   window->baud_combobox,     window->databits_combobox,
           window->parity_combobox, window->stopbits_combobox, window->open_button};
    window->port_combobox->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), expected[0]);
    for (int i = 1; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected[i]);
    }

    // Labels and the disabled displays never take the focus.
    QList<QWidget *> never = {window->port_label, window->speed_label, window->speed_lineedit,
                              window->avg_speed_lineedit, window->temp_lineedit};
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!never.contains(QApplication::focusWidget()));
    }
}

void tst_Window::style_sheet_resource()
{
    const QByteArray bytes = style_sheet_bytes();
    QVERIFY(!bytes.isEmpty());
    QVERIFY(!bytes.contains('\0'));
    for (char c : bytes)
        QVERIFY2(uchar(c) < 0x80, "style sheet is not plain ASCII");
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n')
            QVERIFY2(i > 0 && bytes.at(i - 1) == '\r', "line feed without carriage return");
        if (bytes.at(i) == '\r')
            QVERIFY2(i + 1 < bytes.size() && bytes.at(i + 1) == '\n', "lone carriage return");
    }

    // Applied whole, as the start-up reads it.
    QCOMPARE(qApp->styleSheet(), QString::fromLatin1(bytes));

    QString remainder;
    const QVector<Rule> rules = parse_rules(QString::fromLatin1(bytes), &remainder);
    QVERIFY2(remainder.trimmed().isEmpty(), qPrintable("not a rule: " + remainder.trimmed()));

    const QString gradient
        = "qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:0, stop:0 rgba(148, 170, 214, 255), "
          "stop:0.5 rgba(148, 170, 214, 255), stop:1 rgba(148, 170, 214, 255))";
    const QString combo = "color: black; font-size: 12px; font-family: \"Verdana\"; "
                          "background-color: %1; height: 22px; padding-bottom: 3px";
    const QString button
        = "border-style: outset; border-width: 2px; border-radius: 10px; border-color: gray; "
          "font: bold 12px; min-width: 10em; padding: 6px";
    const QString entry = "selection-color: red; color: black; font-size: 14px; "
                          "font-family: \"Verdana\"; background-color: white";
    const QPair<QString, QString> expected[] = {
        {"QComboBox", combo.arg("rgb(230,230,255)")},
        {"QComboBox:on", combo.arg("rgb(0, 0, 64)")},
        {"QComboBox::drop-down :on", combo.arg("rgb(0, 0, 64)")},
        {"QComboBox::drop-down",
         "subcontrol-origin: padding; subcontrol-position: top right; "
         "width: 12px; height: 22px"},
        {"QComboBox QAbstractItemView",
         "border: none; color: white; background-color: rgb(47, 54, 65); font-size: 12px; "
         "font-family: \"Verdana\""},
        {"QComboBox QAbstractItemView::item", "height: 40px; color: white; font-size: 12px"},
        {"QComboBox QAbstractItemView::item:selected", "background-color: rgb(0, 82, 112)"},
        {"QComboBox QAbstractItemView::item:hover", "background-color: rgb(0, 82, 112)"},
        {"QComboBox:disabled", "background-color: gray"},
        {"QLabel", "background-color: transparent; color: black; qproperty-alignment: AlignCenter"},
        {"QGroupBox",
         "background-color: " + gradient
             + "; border: 1px solid qlineargradient(spread:pad, x1:-1, y1:0, x2:1 y2:0, stop:0 "
               "rgba(0, 211, 197, 255), stop:1 rgba(0, 82, 112, 255)); margin-top: 5px"},
        {"QGroupBox::title",
         "subcontrol-origin: margin; subcontrol-position: top left; "
         "font-size: 20px; font-weight: bold; color: black"},
        {"QWidget#mainwindow", "background-color: " + gradient},
        {"QPushButton", "background-color: rgb(126,152,205); " + button},
        {"QPushButton:disabled", "background-color: gray"},
        {"QPushButton:hover",
         "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:0, stop:0 rgba(0, "
         "82, 112, 255), stop:0.5 rgba(0, 211, 197, 255), stop:1 rgba(0, 82, 112, 255)); "
         "color: white; "
             + button},
        {"QPushButton:checked",
         "background-color: rgb(0, 82, 112); color: white; border: 0px solid rgb(255, 127, 39)"},
        {"QPushButton:flat", "border: none"},
        {"QDialog", "background-color: " + gradient},
        {"QDialog QFrame", "background-color: transparent"},
        {"QLineEdit#output_lineedit",
         "color: white; border: none; font-size: 15px; "
         "font-family: \"Verdana\"; background-color: rgb(0, 0, 64)"},
        {"QLineEdit#output_lineedit:disabled", "background-color: gray"},
        {"QLineEdit#outrate_lineedit", entry},
        {"QLineEdit#avg_lineedit", entry},
    };
    const int count = int(sizeof(expected) / sizeof(expected[0]));
    QCOMPARE(count, 24);
    QCOMPARE(rules.size(), count);

    for (int i = 0; i < count; ++i) {
        QCOMPARE(rules.at(i).selector, expected[i].first);
        QStringList declarations = rules.at(i).declarations;
        if (expected[i].first == "QLabel") {
            // The label rule also holds a bare size 20 whose unit is ours to pick.
            const QStringList sizes = declarations.filter(QRegularExpression("^font-size:"));
            QCOMPARE(sizes.size(), 1);
            QVERIFY2(QRegularExpression("^font-size:20(px|pt)?$").match(sizes.first()).hasMatch(),
                     qPrintable(sizes.first()));
            declarations.removeAll(sizes.first());
        }
        QCOMPARE(declarations, compact_declarations(expected[i].second));
    }
}

void tst_Window::style_sheet_applied()
{
    QVERIFY(show_and_activate());
    QTest::qWait(50);

    // Rule 10 centres every label through a property.
    for (QLabel *label : window->findChildren<QLabel *>())
        QCOMPARE(int(label->alignment()), int(Qt::AlignCenter));

    // The displays stay red on black while disabled.
    QLineEdit *displays[]
        = {window->speed_lineedit, window->avg_speed_lineedit, window->temp_lineedit};
    for (QLineEdit *display : displays) {
        const QPalette palette = display->palette();
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), QColor(Qt::red));
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Base), QColor(Qt::black));
        QCOMPARE(font_text(display->font()), font_text(QFont("Times", 30, 75)));

        const QImage image = display->grab().toImage();
        QCOMPARE(colour_name(dominant_colour(image)), colour_name(qRgb(0, 0, 0)));
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60)
                    ++red;
            }
        }
        QVERIFY2(red > 50, "no red text on the display");
    }

    // The entries take the sheet's font over the builder's, keeping bold.
    QLineEdit *entries[] = {window->outrate_lineedit, window->avg_lineedit};
    for (QLineEdit *entry : entries) {
        QCOMPARE(entry->font().family(), QString("Verdana"));
        QCOMPARE(entry->font().pixelSize(), 14);
        QCOMPARE(entry->font().weight(), 75);
        QCOMPARE(entry->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    }
    QCOMPARE(window->output_lineedit->palette().color(QPalette::Disabled, QPalette::Base),
             QColor(128, 128, 128));

    const QImage image = window->grab().toImage();
    QCOMPARE(colour_name(dominant_colour(image)), colour_name(window_background));
    QCOMPARE(colour_name(image.pixel(3, 3)), colour_name(window_background));
}

void tst_Window::resources()
{
    QImageReader png_reader(":/icon/doc/1.png");
    QCOMPARE(png_reader.format(), QByteArray("png"));
    const QImage png = png_reader.read();
    QCOMPARE(png.size(), QSize(1920, 2560));
    QVERIFY(png.hasAlphaChannel());

    // The PNG header: 8 bits per channel, colour type 6 (RGBA).
    QFile png_file(":/icon/doc/1.png");
    QVERIFY(png_file.open(QIODevice::ReadOnly));
    const QByteArray png_header = png_file.read(26);
    QCOMPARE(png_header.size(), 26);
    QCOMPARE(int(uchar(png_header.at(24))), 8);
    QCOMPARE(int(uchar(png_header.at(25))), 6);
    QVERIFY(!QIcon(":/icon/doc/1.png").isNull());

    // The icon directory: one image, 128 by 128 (stored as 0), 24 bits.
    QFile ico_file(":/icon/doc/myico.ico");
    QVERIFY(ico_file.open(QIODevice::ReadOnly));
    const QByteArray ico = ico_file.readAll();
    QVERIFY(ico.size() > 22);
    const uchar *head = reinterpret_cast<const uchar *>(ico.constData());
    QCOMPARE(qFromLittleEndian<quint16>(head), quint16(0));
    QCOMPARE(qFromLittleEndian<quint16>(head + 2), quint16(1));
    QCOMPARE(qFromLittleEndian<quint16>(head + 4), quint16(1));
    QCOMPARE(int(head[6]), 128);
    QCOMPARE(int(head[7]), 128);
    QCOMPARE(qFromLittleEndian<quint16>(head + 12), quint16(24));
    if (QImageReader::supportedImageFormats().contains("ico")) {
        QImageReader ico_reader(":/icon/doc/myico.ico");
        QCOMPARE(ico_reader.imageCount(), 1);
        QCOMPARE(ico_reader.read().size(), QSize(128, 128));
    }

    QFile rc(":/icon/myico.rc");
    QVERIFY(rc.open(QIODevice::ReadOnly));
    const QByteArray script = rc.readAll();
    QVERIFY(!script.trimmed().contains('\n'));
    QVERIFY(script.startsWith("IDI_ICONI"));
    QVERIFY(script.contains("\"myico.ico\""));

    // The merged catalogue, not the small stub that only names other files.
    QVERIFY(QFileInfo(translation_path).size() > 10000);
}

void tst_Window::translation()
{
    QVERIFY(translation_loaded);
    QVERIFY(!translator.isEmpty());

    show_message("x");
    QCOMPARE(answerer->messages, QStringList({"x"}));
    QCOMPARE(answerer->button_texts, QStringList({"确定"}));

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QString("确定"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("取消"));

    const QString save_as = QCoreApplication::translate("QFileDialog", "Save As");
    QVERIFY(save_as != "Save As");
    QVERIFY(save_as.contains(QRegularExpression("[\\x{4e00}-\\x{9fff}]")));

    // Without the translator the same texts are the built-in English ones.
    qApp->removeTranslator(&translator);
    QMessageBox english;
    english.setStandardButtons(QMessageBox::Ok);
    const QString english_ok = english.button(QMessageBox::Ok)->text();
    const QString english_save_as = QCoreApplication::translate("QFileDialog", "Save As");
    qApp->installTranslator(&translator);
    QCOMPARE(english_ok, QString("OK"));
    QCOMPARE(english_save_as, QString("Save As"));
}

void tst_Window::avg_button_runs_its_slot_once_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("entry_after");
    QTest::addColumn<uint>("points_after");

    QTest::newRow("refused") << "0"
                             << "数值必须为大于0的整数！"
                             << "5" << 5u;
    QTest::newRow("accepted") << "12"
                              << "设置成功！"
                              << "12" << 12u;
}

void tst_Window::avg_button_runs_its_slot_once()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(QString, entry_after);
    QFETCH(uint, points_after);

    QVERIFY(show_and_activate());
    window->avg_lineedit->setText(entry);
    QSignalSpy clicks(window->avg_button, &QPushButton::clicked);
    QTest::mouseClick(window->avg_button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(answerer->messages, QStringList({message}));
    QCOMPARE(window->avg_lineedit->text(), entry_after);
    QCOMPARE(window->avg_points, points_after);
}

void tst_Window::save_data_button_runs_its_slot_once()
{
    QVERIFY(show_and_activate());
    QSignalSpy clicks(window->save_data_button, &QPushButton::clicked);
    QTest::mouseClick(window->save_data_button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(answerer->file_dialogs.size(), 1);
    QVERIFY(answerer->messages.isEmpty());
    QCOMPARE(window->save_data_button->text(), QString("保存数据"));
    QVERIFY(!window->data_file->isOpen());
    QVERIFY(!window->read_paused);
}

void tst_Window::open_button_runs_its_slot_once()
{
    QVERIFY(show_and_activate());
    window->port_combobox->setEditText("/nonexistent/svt-port");
    QSignalSpy clicks(window->open_button, &QPushButton::clicked);
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(answerer->messages, QStringList({"\n串口打开失败\n请检查串口是否被占用！\n"}));
    QCOMPARE(window->open_button->text(), QString("打开串口"));
    QVERIFY(!window->my_com->isOpen());
    QVERIFY(window->port_combobox->isEnabled());
}

// A second run of a sequence would put its commands on the line twice.
void tst_Window::config_buttons_run_their_slots_once()
{
    PtyPair pty;
    QVERIFY(pty.is_open());
    QVERIFY(show_and_activate());
    window->port_combobox->setEditText(pty.slave_path());
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    QVERIFY(window->my_com->isOpen());
    QVERIFY(answerer->messages.isEmpty());

    bool seen_configuring = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&] { seen_configuring |= window->configuring; });
    probe.start(10);

    QSignalSpy send_clicks(window->send_config_button, &QPushButton::clicked);
    QTest::mouseClick(window->send_config_button, Qt::LeftButton);
    QCOMPARE(send_clicks.count(), 1);
    QVERIFY(seen_configuring);
    QVERIFY(!window->configuring);
    QTest::qWait(50);
    QByteArray sent = pty.received();
    QCOMPARE(sent.count("uart bps 9600"), 1);
    QCOMPARE(sent.count("water temp enable"), 1);

    pty.clear_received();
    seen_configuring = false;
    QSignalSpy save_clicks(window->save_config_button, &QPushButton::clicked);
    QTest::mouseClick(window->save_config_button, Qt::LeftButton);
    QCOMPARE(save_clicks.count(), 1);
    QVERIFY(seen_configuring);
    QVERIFY(!window->configuring);
    QTest::qWait(50);
    sent = pty.received();
    QCOMPARE(sent.count("done"), 1);
    QCOMPARE(sent.count("y"), 1);
    probe.stop();

    // Close before the pseudo-terminal goes, or the program sees a hang-up.
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    QVERIFY(!window->my_com->isOpen());
    QCOMPARE(answerer->messages, QStringList({"串口关闭成功！"}));
}

void tst_Window::outrate_edits_run_the_check()
{
    const QString warning = "\n数值不在范围内!\n请输入(1~30)范围的数字\n";
    QLineEdit *entry = window->outrate_lineedit;
    QPushButton *send = window->send_config_button;
    QVERIFY(show_and_activate());
    entry->setFocus();
    entry->selectAll();

    QSignalSpy edits(entry, &QLineEdit::textEdited);
    QTest::keyClicks(entry, "3");
    QVERIFY(answerer->messages.isEmpty());
    QVERIFY(send->isEnabled());
    QTest::keyClicks(entry, "1");
    QCOMPARE(entry->text(), QString("31"));
    QCOMPARE(edits.count(), 2);
    QCOMPARE(answerer->messages, QStringList({warning}));
    QVERIFY(!send->isEnabled());

    // The program's own changes run no check.
    entry->setText("40");
    entry->setText("12");
    QCOMPARE(answerer->messages.size(), 1);
    QVERIFY(!send->isEnabled());

    entry->end(false);
    QTest::keyClick(entry, Qt::Key_Backspace);
    QCOMPARE(entry->text(), QString("1"));
    QCOMPARE(answerer->messages.size(), 1);
    QVERIFY(send->isEnabled());
}

void tst_Window::key_press_writes_debug_message_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message");

    QTest::newRow("digit 7") << int(Qt::Key_7) << "7";
    QTest::newRow("digit 3") << int(Qt::Key_3) << "3";
    QTest::newRow("letter") << int(Qt::Key_A) << "0";
    QTest::newRow("enter") << int(Qt::Key_Return) << "0";
    QTest::newRow("no text") << int(Qt::Key_F5) << "0";
}

void tst_Window::key_press_writes_debug_message()
{
    QFETCH(int, key);
    QFETCH(QString, message);

    QVERIFY(show_and_activate());
    window->avg_button->setFocus();
    QCOMPARE(QApplication::focusWidget(), window->avg_button);
    QTest::qWait(20);
    const QImage before = window->grab().toImage();

    debug_messages.clear();
    previous_handler = qInstallMessageHandler(record_debug_message);
    QTest::keyClick(window->avg_button, Qt::Key(key));
    qInstallMessageHandler(previous_handler);

    QCOMPARE(debug_messages, QStringList({message}));
    QTest::qWait(20);
    QCOMPARE(QApplication::focusWidget(), window->avg_button);
    QVERIFY(answerer->messages.isEmpty());
    QVERIFY(window->grab().toImage() == before);
}

void tst_Window::status_pane_is_read_only()
{
    QTextEdit *pane = window->status_textedit;
    QVERIFY(show_and_activate());
    pane->insertPlainText("$ 1500.000 20.000\r\n");
    const QString before = pane->toPlainText();
    QVERIFY(!before.isEmpty());

    QApplication::clipboard()->setText("pasted");
    pane->setFocus();
    QTest::keyClicks(pane, "abc 12");
    QTest::keyClick(pane, Qt::Key_Return);
    QTest::keyClick(pane, Qt::Key_Backspace);
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_Delete);
    QTest::keyClick(pane, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pane->toPlainText(), before);
    QVERIFY(!pane->document()->isUndoAvailable());
}

void tst_Window::fixed_size()
{
    window->setFixedSize(800, 650);
    QCOMPARE(window->minimumSize(), QSize(800, 650));
    QCOMPARE(window->maximumSize(), QSize(800, 650));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->size(), QSize(800, 650));

    // Each area gets at least the room it asks for, so nothing is clipped. The
    // configuration area is left out of the width check: its row of four
    // buttons, each at least 10em wide by the style sheet, is wider than the
    // window and the buttons overlap a little.
    QVERIFY(window->layout()->totalMinimumSize().height() <= 650);
    QWidget *areas[] = {window->top_groupbox, window->status_groupbox};
    for (QWidget *area : areas) {
        const QSize needed = area->minimumSizeHint();
        const QString sizes = QString("%1 needs %2x%3, has %4x%5")
                                  .arg(area->metaObject()->className())
                                  .arg(needed.width())
                                  .arg(needed.height())
                                  .arg(area->width())
                                  .arg(area->height());
        QVERIFY2(area->height() >= needed.height(), qPrintable(sizes));
        QVERIFY2(area->width() >= needed.width(), qPrintable(sizes));
    }
}

void tst_Window::screenshot()
{
    window->setWindowIcon(QIcon(":/icon/doc/1.png"));
    window->setWindowTitle("声速仪显示配置终端V1.0");
    window->setFixedSize(800, 650);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::qWait(200);

    const QString directory = qEnvironmentVariable("SVT_SCREENSHOT_DIR", "/tmp");
    const QString path = QDir(directory).filePath("svt_window.png");
    const QPixmap picture = window->grab();
    QCOMPARE(picture.size(), QSize(800, 650));
    QVERIFY2(picture.save(path), qPrintable(path));
    qInfo("window picture: %s", qPrintable(path));
}

void tst_Window::close_closes_recording_file()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath("record.txt");
    window->data_file->setFileName(path);
    QVERIFY(window->data_file->open(QIODevice::WriteOnly | QIODevice::Text));
    QCOMPARE(window->data_file->write("$ 1500.000 20.000\r\n"), qint64(19));

    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QVERIFY(!window->data_file->isOpen());

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("$ 1500.000 20.000\r\n"));

    // A window that never recorded just closes.
    frmain other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QVERIFY(other.close());
    QVERIFY(!other.isVisible());
    QVERIFY(!other.data_file->isOpen());
}

// Runs last: it ends the event loop the way the program's last window does.
void tst_Window::closing_ends_event_loop_with_zero()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    window->data_file->setFileName(directory.filePath("record.txt"));
    QVERIFY(window->data_file->open(QIODevice::WriteOnly | QIODevice::Text));

    window->setFixedSize(800, 650);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTimer::singleShot(100, window, &QWidget::close);

    // Should the loop not end, fail with 1 rather than hang.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { qApp->exit(1); });
    guard.start(20000);

    QElapsedTimer clock;
    clock.start();
    const int result = qApp->exec();
    guard.stop();
    QCOMPARE(result, 0);
    QVERIFY(clock.elapsed() >= 90);
    QVERIFY(!window->isVisible());
    QVERIFY(!window->data_file->isOpen());
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
