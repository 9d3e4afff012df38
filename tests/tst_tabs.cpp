// The status tabs at the window's fixed size and with the program's style
// sheet, as an operator sees them: what must be read whole fits, buttons
// stay put, a closed port shows as closed, exports propose their names and
// never replace a file of another kind.

#include "fittingcombobox.h"
#include "frmain.h"
#include "modalanswerer.h"
#include "outputhub.h"
#include "outputlist.h"
#include "statustabs.h"
#include "trendfigures.h"
#include "trendview.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

// The width a combo's item needs whole in its open list, as the list's
// delegate measures it; a list drawn as a menu takes the text's size from
// the rectangle.
static int needed(const QComboBox *combo, int item, QSize text)
{
    QStyleOptionViewItem option;
    option.initFrom(combo->view());
    option.font = combo->view()->font();
    option.widget = combo->view();
    option.rect = QRect(QPoint(), text);
    return combo->view()->itemDelegate()->sizeHint(option, combo->model()->index(item, 0)).width();
}

// The window as the program starts it, fixed at its size, with four outputs.
struct Shown
{
    frmain window;
    ModalAnswerer answerer;
    Shown()
    {
        QFile qss(":/new/prefix1/QSS.qss");
        qApp->setStyleSheet(qss.open(QFile::ReadOnly) ? QString::fromUtf8(qss.readAll()) : "");
        for (const char *text : {"udp:192.168.100.255:5602:sv2", "udp:127.0.0.1:5603:sv3",
                                 "udp:localhost:5604:svt", "serial:/dev/ttyUSB1:115200:line"}) {
            OutputConfig config;
            QString error;
            if (OutputConfig::parse(text, &config, &error))
                window.station()->outputs()->add(config);
        }
        window.setFixedSize(800, 650);
        window.show();
    }
    template<typename T> T *show_tab(int index)
    {
        window.status_area()->setCurrentIndex(index);
        QApplication::processEvents();
        return window.status_area()->widget(index)->findChild<T *>();
    }
    void read() { window.station()->take("$ 1500.000 15.000\r\n"); }
};

class TestTabs : public QObject
{
    Q_OBJECT

private slots:
    // Four outputs with seven-digit counts, every choice of the editor closed and open, the figures
    // with seven-digit counts, the end of a long port path.
    void texts_fit()
    {
        Shown s;
        auto *list = s.show_tab<OutputList>(2);
        OutputStatus status; // the longest state the port gives, seven-digit counts
        status.state = OutputState::waiting;
        status.reason = OutputHub::waiting_reason("port_closed");
        status.sent = status.gated = status.dropped = 9999999;
        status.last_sentence = "$ 1489.805 10.0449";
        list->show_outputs(s.window.station()->outputs()->configs(), QVector(4, status));
        for (int column = 0; column < list->columnCount(); ++column)
            QVERIFY(static_cast<QAbstractItemView *>(list)->sizeHintForColumn(column)
                    <= list->columnWidth(column));
        QVERIFY(list->visualRect(list->model()->index(3, 0)).bottom() < list->viewport()->height());
        s.window.status_area()->widget(2)->findChild<QComboBox *>("kind")->setCurrentIndex(0);
        QApplication::processEvents(); // the serial port's fields laid out
        for (auto *combo : s.window.status_area()->widget(2)->findChildren<FittingComboBox *>()) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            combo->showPopup();
            for (int i = 0; i < combo->count(); ++i) {
                const QSize text(combo->fontMetrics().horizontalAdvance(combo->itemText(i)),
                                 combo->fontMetrics().height());
                QVERIFY2(text.width() <= field.width()
                             && needed(combo, i, text) <= combo->view()->viewport()->width(),
                         qPrintable(combo->itemText(i)));
            }
            combo->hidePopup();
        }

        auto *view = s.show_tab<TrendView>(1);
        SpanFigures figures;
        figures.readings = figures.speed.count = figures.range_count = figures.spike_count
            = figures.rejected = figures.gap_count = 9999999;
        figures.gap_ms = 99 * 3600000;
        s.window.station()->close(); // the longest state
        view->refresh();
        view->figures()->show_figures(0, figures);
        for (QLabel *label : view->figures()->findChildren<QLabel *>())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text())
                             <= label->contentsRect().width()
                         && view->rect().contains(
                             QRect(label->mapTo(view, QPoint(0, 0)), label->size())),
                     qPrintable(label->text()));

        // A by-id path: its end tells ports apart.
        const QString path = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
        s.window.port_combobox->setEditText(path);
        const QLineEdit *line = s.window.port_combobox->lineEdit();
        QVERIFY(line->cursorPosition() == path.size() // the edit scrolls to show it
                && line->fontMetrics().horizontalAdvance(path.right(17)) < line->width() - 4);
        QCOMPARE(s.window.port_combobox->toolTip(), path);
    }

    // Its buttons stay put whatever the note beside them says. A port closed
    // on purpose shows in the trend and the outputs until readings come.
    // The detached trend opens at the docked one's span each time. The
    // report of the log being written is proposed beside it, by its name, a
    // PNG by the log and the span; a name gets its suffix; a file of another
    // kind is never replaced.
    void trend_tab()
    {
        Shown s;
        auto *view = s.show_tab<TrendView>(1);
        auto *note = view->findChild<QLabel *>("span_note");
        const auto places = [&](const QString &text) {
            note->setText(text);
            note->parentWidget()->layout()->activate();
            QList<QRect> rects;
            for (const QPushButton *button : view->findChildren<QPushButton *>())
                rects << button->geometry();
            return rects;
        };
        s.read(); // a real note: too little data for the span
        view->refresh();
        const QList<QRect> real = places(note->text());
        QVERIFY(places(QString()) == real && places(QString(200, QChar(0x6570))) == real);

        const QString flowing = view->figures()->stream_text();
        s.window.station()->close();
        view->refresh();
        QVERIFY(view->figures()->stream_text() != flowing);
        auto *list = s.show_tab<OutputList>(2);
        QVERIFY(list->item(1, 3)->text().startsWith(output_state_text(OutputState::waiting)));
        s.read();
        s.show_tab<TrendView>(1)->refresh();
        QCOMPARE(view->figures()->stream_text(), flowing);

        for (int span : {1800, 7200}) {
            s.window.status_area()->set_trend_span(span);
            view->findChild<QPushButton *>("detach")->click();
            const QWidgetList tops = QApplication::topLevelWidgets();
            auto *detached = qobject_cast<TrendView *>(*std::find_if(
                tops.begin(), tops.end(), [](QWidget *top) { return top->inherits("TrendView"); }));
            QCOMPARE(detached->span_seconds(), span);
            detached->close();
        }

        QTemporaryDir dir;
        SessionInfo session;
        session.log = dir.filePath("night.csv");
        const QString other = dir.filePath("other.pdf"); // a log, whatever its name
        for (const QString &name : {session.log, other}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("time_utc,speed_m_s\n") > 0);
        }
        view->set_session(session);
        s.answerer.answer_file_dialog(dir.filePath("mine"));
        view->findChild<QPushButton *>("report")->click();
        QCOMPARE(s.answerer.file_dialogs.last().directory, dir.path());
        QCOMPARE(s.answerer.file_dialogs.last().file_name, QString("night.pdf"));
        QFile written(dir.filePath("mine.pdf"));
        QVERIFY(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-");
        // Refused: a log named .pdf, the log being written; asked: a report.
        for (const QString &chosen : {other, session.log, dir.filePath("mine")}) {
            s.answerer.answer_file_dialog(chosen);
            view->findChild<QPushButton *>(chosen == session.log ? "export_csv" : "report")
                ->click();
            QCOMPARE(s.answerer.take_messages().size(), 1);
        }
        QVERIFY(QFileInfo(other).size() == 19 && QFileInfo(session.log).size() == 19);
        view->findChild<QPushButton *>("export_png")->click(); // cancelled
        QVERIFY(s.answerer.file_dialogs.last().file_name.contains(
            QRegularExpression("^night_.*Z.png$")));
    }
};

QTEST_MAIN(TestTabs)
#include "tst_tabs.moc"
