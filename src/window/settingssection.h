#ifndef SETTINGSSECTION_H
#define SETTINGSSECTION_H

#include <QWidget>

// One page of the 设置 tab. It applies what the operator changes at once
// and says so through said(); show_current() brings its fields in line with
// what the station runs with (after a profile was loaded, say).
class SettingsSection : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void show_current() = 0;

signals:
    // One line for the tab's message area; problem: shown in red.
    void said(const QString &text, bool problem);
};

#endif
