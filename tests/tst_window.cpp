#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QtTest>
#include <QtWidgets>

static const char style_sheet_path[] = ":/new/prefix1/QSS.qss";
static const char translation_path[] = ":/new/prefix1/qt_zh_CN.qm";

// The displays' style sheet has a property the toolkit does not know, and the
// offscreen platform warns about size hints; keep both out of the log. Debug
// messages are collected while a test asks for them.
static QtMessageHandler test_log_handler = nullptr;
static QStringList *debug_messages = nullptr;

static void test_handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (debug_messages && type == QtDebugMsg)
        debug_messages->append(message);
    else if (message != "Unknown property cursorVisible"
             && message != "This plugin does not support propagateSizeHints()")
        test_log_handler(type, context, message);
}

static QStringList texts_of(const QList<QWidget *> &widgets)
{
    QStringList texts;
    for (QWidget *widget : widgets)
        texts.append(
            widget->property(qobject_cast<QGroupBox *>(widget) ? "title" : "text").toString());
    return texts;
}

// The items, the current one marked with "*".
static QString items_of(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i) + (i == combo->currentIndex() ? "*" : ""));
    return items.join('|');
}

// "row,column rows x columns" of each widget in the owner's grid; the grid
// must hold nothing else.
static QStringList cells_of(QWidget *owner, const QList<QWidget *> &widgets)
{
    auto grid = qobject_cast<QGridLayout *>(owner->layout());
    QStringList cells;
    for (QWidget *widget : widgets) {
        int row = -1, column = -1, row_span = 0, column_span = 0;
        if (grid && grid->indexOf(widget) >= 0)
            grid->getItemPosition(grid->indexOf(widget), &row, &column, &row_span, &column_span);
        cells.append(QString("%1,%2 %3x%4").arg(row).arg(column).arg(row_span).arg(column_span));
    }
    if (!grid || grid->count() != widgets.size())
        cells.append("other items");
    return cells;
}

class tst_Window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void construction_state();
    void slot_table();
    void texts_and_choices();
    void looks_before_polish();
    void grid_cells();
    void style_sheet();
    void keyboard();
    void resources_and_translation();
    void buttons_run_their_slots_once();
    void outrate_edits_run_the_check();
    void closing_closes_file_and_ends_loop();

private:
    bool show_and_activate();

    QTranslator translator;
    frmain *w = nullptr;
    ModalAnswerer *answerer = nullptr;
};

// The application is set up as the program's start-up does it.
void tst_Window::initTestCase()
{
    test_log_handler = qInstallMessageHandler(test_handler);
    // A failed load shows in the translation check; the other tests still run.
    translator.load(translation_path, "", "", "");
    qApp->installTranslator(&translator);
    QFile file(style_sheet_path);
    QVERIFY(file.open(QFile::ReadOnly));
    qApp->setStyleSheet(QLatin1String(file.readAll().constData()));
}

void tst_Window::init()
{
    // Any box a test opens is answered rather than hanging the run.
    answerer = new ModalAnswerer;
    w = new frmain;
}

void tst_Window::cleanup()
{
    delete w;
    delete answerer;
}

bool tst_Window::show_and_activate()
{
    w->show();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

void tst_Window::construction_state()
{
    QVERIFY(!w->configuring && !w->read_paused);
    QVERIFY(w->avg_sum == 0.0 && w->avg_count == 0);
    QCOMPARE(w->avg_points, 5u);
    QVERIFY(w->read_buffer.isEmpty() && w->data_file_name.isEmpty());
    QVERIFY(w->field_list.isEmpty() && w->speed_text.isEmpty() && w->temp_text.isEmpty());
    QVERIFY(!w->parentWidget() && !w->isVisible());
    QVERIFY(w->my_com->parent() == w && !w->my_com->isOpen());
    QVERIFY(!w->data_file->parent() && !w->data_file->isOpen());
    QVERIFY(w->data_file->fileName().isEmpty() && w->status_textedit->toPlainText().isEmpty());

    QCOMPARE(QStringList({w->objectName(), w->status_textedit->objectName(),
                          w->output_lineedit->objectName(), w->outrate_lineedit->objectName(),
                          w->avg_lineedit->objectName()}),
             QStringList({"mainwindow", "staus_show", "output_lineedit", "outrate_lineedit",
                          "avg_lineedit"}));
    // No other names, apart from the toolkit's own parts ("qt_...").
    int named = 0;
    for (QObject *object : w->findChildren<QObject *>())
        named += object->objectName().isEmpty() || object->objectName().startsWith("qt_") ? 0 : 1;
    QCOMPARE(named, 4);
}

void tst_Window::slot_table()
{
    const QMetaObject *meta = w->metaObject();
    QCOMPARE(meta->superClass(), &QWidget::staticMetaObject);
    QStringList slot_list;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Public);
        slot_list.append(
            QString("%1 %2 %3")
                .arg(method.typeName(), method.methodSignature(), method.parameterNames().join(','))
                .trimmed());
    }
    QCOMPARE(slot_list,
             QStringList({"void data_setting()", "void every_connect()", "void machine_setting()",
                          "void status_setting()", "void openCom1_slot()", "void ReadMyCom_slot()",
                          "void Sleep(int) sec", "void send(QString) data",
                          "void setting_button_slot()", "void save_setting_slot()",
                          "bool save_data_slot()", "void one_byte_send(QString) str",
                          "bool outrange_warning_slot(QString)", "void avg_point_slot()"}));
}

// Texts are used as they stand, blanks and full-width colons included.
void tst_Window::texts_and_choices()
{
    QCOMPARE(texts_of({w->top_groupbox, w->com_groupbox, w->port_label, w->baud_label,
                       w->databits_label, w->parity_label, w->stopbits_label, w->open_button}),
             QStringList({"", "串口参数设置", "串口号：", "波特率：", "数据位：", "校验位：",
                          "停止位：", "打开串口"}));
    QCOMPARE(texts_of({w->display_groupbox, w->speed_label, w->avg_speed_label, w->temp_label,
                       w->speed_unit_label, w->avg_speed_unit_label, w->temp_unit_label,
                       w->speed_lineedit, w->avg_speed_lineedit, w->temp_lineedit}),
             QStringList({"数据显示", "实时声速:", "平均声速:", "实时温度:", "m/s", "m/s",
                          QString(QChar(0x2103)), "0000.000", "0000.000", "0000.000"}));
    QCOMPARE(texts_of({w->machine_container, w->machine_groupbox, w->machine_baud_label,
                       w->outrate_label, w->range_label, w->temp_output_label, w->format_label,
                       w->avg_label, w->outrate_lineedit, w->output_lineedit, w->avg_lineedit}),
             QStringList({"", "声速仪配置区", "声速仪波特率： ", "声速仪输出速率：", "范围: (1-30)",
                          "温 度 输 出 ： ", "声速仪输出格式： ", "平均声速点数：", "8", "", "5"}));
    QCOMPARE(texts_of({w->avg_button, w->send_config_button, w->save_config_button,
                       w->save_data_button, w->status_groupbox}),
             QStringList({"设置点数", "发送配置", "保存配置", "保存数据", "状态显示区"}));
    QVERIFY(w->status_textedit->isReadOnly() && !w->status_textedit->isUndoRedoEnabled());

    const QString rates = "2400|4800|9600*|19200|38400|57600|115200";
    QCOMPARE(items_of(w->port_combobox),
             QString("COM1*|COM2|COM3|COM4|COM5|COM6|COM7|COM8|COM9|COM10|COM11"));
    QCOMPARE(items_of(w->baud_combobox), rates);
    QCOMPARE(items_of(w->databits_combobox), QString("5|6|7|8*"));
    QCOMPARE(items_of(w->parity_combobox), QString("NONE *|ODD |EVEN |MARK |SPACE "));
    QCOMPARE(items_of(w->stopbits_combobox), QString("1  bit*|1.5bit|2  bit"));
    QCOMPARE(items_of(w->machine_baud_combobox), rates);
    QCOMPARE(items_of(w->temp_output_combobox), QString("允 许  *|禁 止  "));
    QCOMPARE(items_of(w->format_combobox), QString("默认格式*|格式一|格式二"));
    for (QComboBox *combo : w->findChildren<QComboBox *>())
        QCOMPARE(combo->isEditable(), combo == w->port_combobox);

    // A typed port name or device path is taken as it is, without new items.
    QLineEdit *port = w->port_combobox->lineEdit();
    port->selectAll();
    QTest::keyClicks(port, "/dev/ttyUSB0");
    QTest::keyClick(port, Qt::Key_Return);
    QCOMPARE(w->port_combobox->currentText(), QString("/dev/ttyUSB0"));
    QCOMPARE(w->port_combobox->count(), 11);
}

// Enabled states, fonts as the builders set them and the widgets' own sheets.
void tst_Window::looks_before_polish()
{
    QSet<QWidget *> disabled;
    for (QWidget *widget : w->findChildren<QWidget *>()) {
        if (!widget->isEnabledTo(widget->parentWidget()))
            disabled.insert(widget);
    }
    QVERIFY(disabled
            == QSet<QWidget *>({w->speed_lineedit, w->avg_speed_lineedit, w->temp_lineedit,
                                w->output_lineedit, w->format_combobox}));

    QStringList fonts;
    for (QWidget *widget : QList<QWidget *>{
             w->speed_lineedit, w->avg_speed_lineedit, w->temp_lineedit, w->speed_label,
             w->avg_speed_label, w->temp_label, w->speed_unit_label, w->avg_speed_unit_label,
             w->temp_unit_label, w->outrate_lineedit, w->avg_lineedit, w->status_textedit}) {
        const QFont font = widget->font();
        fonts.append(
            QString("%1 %2 %3").arg(font.family()).arg(font.pointSize()).arg(font.weight()));
    }
    QCOMPARE(fonts,
             QStringList({"Times 30 75", "Times 30 75", "Times 30 75", "Helvetica 25 75",
                          "Helvetica 25 75", "Helvetica 25 75", "Times 17 75", "Times 17 75",
                          "Times 17 75", "SansSerif 8 75", "SansSerif 8 75", "Times 10 75"}));

    int styled = 0;
    for (QWidget *widget : w->findChildren<QWidget *>())
        styled += widget->styleSheet().isEmpty() ? 0 : 1;
    QCOMPARE(styled, 4);
    QCOMPARE(w->output_lineedit->styleSheet(), QString("height:20px"));
    for (QLineEdit *display : {w->speed_lineedit, w->avg_speed_lineedit, w->temp_lineedit}) {
        QCOMPARE(display->styleSheet(),
                 QString("border: 2px solid gray;border-radius: 5px;padding: 0 8px;"
                         "background: black;selection-background-color: black;"
                         "color: red;cursorVisible : true"));
        QCOMPARE(display->minimumHeight(), 50);
    }
    for (QLineEdit *edit : {w->speed_lineedit, w->avg_speed_lineedit, w->temp_lineedit,
                            w->outrate_lineedit, w->avg_lineedit})
        QCOMPARE(int(edit->alignment()), int(Qt::AlignCenter));
}

void tst_Window::grid_cells()
{
    QCOMPARE(cells_of(w, {w->top_groupbox, w->machine_container, w->status_groupbox}),
             QStringList({"1,1 5x4", "6,1 4x4", "10,1 1x4"}));
    QCOMPARE(cells_of(w->top_groupbox, {w->com_groupbox, w->display_groupbox}),
             QStringList({"1,1 6x1", "1,2 6x3"}));
    QCOMPARE(cells_of(w->com_groupbox,
                      {w->port_label, w->baud_label, w->databits_label, w->parity_label,
                       w->stopbits_label, w->port_combobox, w->baud_combobox, w->databits_combobox,
                       w->parity_combobox, w->stopbits_combobox, w->open_button}),
             QStringList({"1,1 1x2", "2,1 1x2", "3,1 1x2", "4,1 1x2", "5,1 1x2", "1,3 1x2",
                          "2,3 1x2", "3,3 1x2", "4,3 1x2", "5,3 1x2", "6,1 1x4"}));
    QCOMPARE(cells_of(w->display_groupbox,
                      {w->speed_label, w->avg_speed_label, w->temp_label, w->speed_lineedit,
                       w->avg_speed_lineedit, w->temp_lineedit, w->speed_unit_label,
                       w->avg_speed_unit_label, w->temp_unit_label}),
             QStringList({"1,1 1x1", "2,1 1x1", "3,1 1x1", "1,2 1x3", "2,2 1x3", "3,2 1x3",
                          "1,5 1x1", "2,5 1x1", "3,5 1x1"}));
    QCOMPARE(cells_of(w->machine_container, {w->machine_groupbox}), QStringList({"0,0 1x1"}));
    QCOMPARE(cells_of(w->machine_groupbox,
                      {w->machine_baud_label, w->machine_baud_combobox, w->outrate_label,
                       w->outrate_lineedit, w->range_label, w->temp_output_label,
                       w->temp_output_combobox, w->format_label, w->output_lineedit,
                       w->format_combobox, w->avg_label, w->avg_lineedit, w->avg_button,
                       w->send_config_button, w->save_config_button, w->save_data_button}),
             QStringList({"1,1 1x1", "1,2 1x1", "1,3 1x1", "1,4 1x5", "1,9 1x1", "2,1 1x1",
                          "2,2 1x1", "2,3 1x1", "2,4 1x5", "2,9 1x1", "3,1 1x1", "3,2 1x1",
                          "3,3 1x1", "3,5 1x1", "3,7 1x1", "3,9 1x1"}));
    auto status = qobject_cast<QHBoxLayout *>(w->status_groupbox->layout());
    QVERIFY(status && status->count() == 1 && status->indexOf(w->status_textedit) == 0);
}

// The resource as applied, and that it really applies; also leaves a picture
// of the window to look at.
void tst_Window::style_sheet()
{
    QFile file(style_sheet_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromLatin1(bytes);
    QVERIFY(!text.contains(QRegularExpression("[^\\x01-\\x7f]")));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    // Applied whole, as the start-up reads it.
    QCOMPARE(qApp->styleSheet(), text);

    // Each rule is "selector\r\n{ declarations }".
    static const QRegularExpression rule("([^{}\\r\\n]+)\\r\\n\\{[^{}]*\\}");
    QStringList selectors;
    for (auto it = rule.globalMatch(text); it.hasNext();)
        selectors.append(it.next().captured(1).trimmed());
    QCOMPARE(selectors.join(" | "),
             QString("QComboBox | QComboBox:on | QComboBox::drop-down :on | QComboBox::drop-down | "
                     "QComboBox QAbstractItemView | QComboBox QAbstractItemView::item | "
                     "QComboBox QAbstractItemView::item:selected | "
                     "QComboBox QAbstractItemView::item:hover | QComboBox:disabled | QLabel | "
                     "QGroupBox | QGroupBox::title | QWidget#mainwindow | QPushButton | "
                     "QPushButton:disabled | QPushButton:hover | QPushButton:checked | "
                     "QPushButton:flat | QDialog | QDialog QFrame | QLineEdit#output_lineedit | "
                     "QLineEdit#output_lineedit:disabled | QLineEdit#outrate_lineedit | "
                     "QLineEdit#avg_lineedit"));

    w->setWindowTitle("声速仪显示配置终端V1.0");
    w->setFixedSize(800, 650);
    QVERIFY(show_and_activate());
    // The label rule centres every label through a property.
    for (QLabel *label : w->findChildren<QLabel *>())
        QCOMPARE(int(label->alignment()), int(Qt::AlignCenter));
    // The displays stay red on black while disabled.
    const QPalette display = w->speed_lineedit->palette();
    QCOMPARE(display.color(QPalette::Disabled, QPalette::Text), QColor(Qt::red));
    QCOMPARE(display.color(QPalette::Disabled, QPalette::Base), QColor(Qt::black));
    // The entries take the sheet's font over the builder's.
    QCOMPARE(w->outrate_lineedit->font().family(), QString("Verdana"));
    QCOMPARE(w->outrate_lineedit->font().pixelSize(), 14);

    const QImage picture = w->grab().toImage();
    // The blue-grey background, by the window's object name.
    QCOMPARE(QColor(picture.pixel(3, 3)), QColor(148, 170, 214));
    const QString path = qEnvironmentVariable("SVT_SCREENSHOT_DIR", "/tmp") + "/svt_window.png";
    QVERIFY2(picture.save(path), qPrintable(path));
    qInfo("window picture: %s", qPrintable(path));
}

// The serial box's focus order, and the debug message of a key press.
void tst_Window::keyboard()
{
    QVERIFY(show_and_activate());
    w->port_combobox->setFocus(Qt::TabFocusReason);
    for (QWidget *widget :
         QList<QWidget *>{w->port_combobox, w->baud_combobox, w->databits_combobox,
                          w->parity_combobox, w->stopbits_combobox, w->open_button}) {
        QCOMPARE(QApplication::focusWidget(), widget);
        QTest::keyClick(widget, Qt::Key_Tab);
    }

    w->avg_button->setFocus();
    QStringList messages;
    debug_messages = &messages;
    for (Qt::Key key : {Qt::Key_7, Qt::Key_A, Qt::Key_F5})
        QTest::keyClick(w->avg_button, key);
    debug_messages = nullptr;
    QCOMPARE(messages, QStringList({"7", "0", "0"}));
    QVERIFY(answerer->messages.isEmpty());
}

void tst_Window::resources_and_translation()
{
    const QImage png(":/icon/doc/1.png");
    QCOMPARE(png.size(), QSize(1920, 2560));
    QVERIFY(png.hasAlphaChannel());
    QFile ico(":/icon/doc/myico.ico");
    QVERIFY(ico.open(QIODevice::ReadOnly));
    const QByteArray icon = ico.readAll();
    // Type 1 (icon), one image, 128 by 128; 24 bits per pixel.
    QCOMPARE(icon.mid(2, 6).toHex(), QByteArray("010001008080"));
    QCOMPARE(icon.mid(12, 2).toHex(), QByteArray("1800"));
    QFile rc(":/icon/myico.rc");
    QVERIFY(rc.open(QIODevice::ReadOnly));
    const QByteArray script = rc.readAll().trimmed();
    QVERIFY(!script.contains('\n') && script.startsWith("IDI_ICONI"));
    QVERIFY(script.contains("\"myico.ico\""));

    // The merged catalogue, not the small stub that only names other files.
    QVERIFY(QFileInfo(translation_path).size() > 10000);
    show_message("x");
    QCOMPARE(answerer->button_texts, QStringList({"确定"}));
}

// A slot connected twice would show two boxes or put a sequence on the line twice.
void tst_Window::buttons_run_their_slots_once()
{
    PtyPair pty;
    QVERIFY(pty.is_open());
    QVERIFY(show_and_activate());
    w->port_combobox->setEditText(pty.slave_path());
    QTest::mouseClick(w->open_button, Qt::LeftButton);
    QVERIFY(w->my_com->isOpen());
    QVERIFY(answerer->messages.isEmpty());

    QTest::mouseClick(w->send_config_button, Qt::LeftButton);
    QTest::mouseClick(w->save_config_button, Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(pty.received().count("uart bps 9600"), 1);
    QCOMPARE(pty.received().count("done"), 1);
    w->avg_lineedit->setText("12");
    QTest::mouseClick(w->avg_button, Qt::LeftButton);
    QCOMPARE(w->avg_points, 12u);
    QTest::mouseClick(w->save_data_button, Qt::LeftButton);
    QCOMPARE(answerer->file_dialogs.size(), 1);

    // Close before the pseudo-terminal goes, or the program sees a hang-up.
    QTest::mouseClick(w->open_button, Qt::LeftButton);
    QVERIFY(!w->my_com->isOpen());
    QCOMPARE(answerer->messages, QStringList({"设置成功！", "串口关闭成功！"}));
}

void tst_Window::outrate_edits_run_the_check()
{
    QLineEdit *entry = w->outrate_lineedit;
    QVERIFY(show_and_activate());
    entry->setFocus();
    entry->selectAll();
    QTest::keyClicks(entry, "31");
    QCOMPARE(answerer->messages, QStringList({"\n数值不在范围内!\n请输入(1~30)范围的数字\n"}));
    QVERIFY(!w->send_config_button->isEnabled());

    // The program's own changes run no check: no box, and the button stays off.
    entry->setText("40");
    entry->setText("12");
    QCOMPARE(answerer->messages.size(), 1);
    QVERIFY(!w->send_config_button->isEnabled());
}

// Runs last: it ends the event loop the way the program's last window does.
void tst_Window::closing_closes_file_and_ends_loop()
{
    QTemporaryDir directory;
    w->data_file->setFileName(directory.filePath("record.txt"));
    QVERIFY(w->data_file->open(QIODevice::WriteOnly | QIODevice::Text));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));

    QTimer::singleShot(100, w, &QWidget::close);
    // Should the loop not end, fail with 1 rather than hang.
    QObject guard;
    QTimer::singleShot(20000, &guard, [] { qApp->exit(1); });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(clock.elapsed() >= 90);
    QVERIFY(!w->isVisible() && !w->data_file->isOpen());
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
