#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The window with its port on the slave side of a pseudo-terminal whose
// master stands in for the instrument. Members go in reverse order: the
// answerer first, the pseudo-terminal last.
struct WindowOnPty
{
    PtyPair pty;
    frmain window;
    ModalAnswerer answerer;

    // The second an opened port is left to the instrument is checked once;
    // elsewhere it would only make the tests slow.
    WindowOnPty() { window.open_settle_ms = 20; }

    // Types the device into the port choice and clicks open, as an operator
    // would.
    bool open(const QString &device = QString())
    {
        window.show();
        if (!pty.is_open() || !QTest::qWaitForWindowExposed(&window))
            return false;
        window.port_combobox->setEditText(device.isEmpty() ? pty.slave_path() : device);
        QTest::mouseClick(window.open_button, Qt::LeftButton);
        return window.my_com->isOpen();
    }

    // Starts recording into path through the save dialog, as an operator would.
    bool record(const QString &path)
    {
        answerer.answer_file_dialog(path);
        QTest::mouseClick(window.save_data_button, Qt::LeftButton);
        return QTest::qWaitFor([&] { return window.data_file->isOpen(); }, 5000);
    }

    // Writes bytes and waits until the speed display shows speed, so that
    // everything written so far has been handled and drawn.
    bool feed(const QByteArray &bytes, const QString &speed)
    {
        return pty.write(bytes)
            && QTest::qWaitFor([&] { return window.speed_lineedit->text() == speed; }, 5000);
    }
    bool feed_line(const QString &speed, const QString &temperature = "15.000")
    {
        return feed("$ " + speed.toLatin1() + " " + temperature.toLatin1() + "\r\n", speed);
    }
};

#endif
