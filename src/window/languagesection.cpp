#include "languagesection.h"

#include "interfacelanguage.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LanguageSection::LanguageSection(QWidget *parent) : SettingsSection(parent)
{
    choice = new QComboBox;
    choice->setObjectName("language");
    for (const QString &code : InterfaceLanguage::codes())
        choice->addItem(InterfaceLanguage::name(code), code);
    note = new QLabel(tr("新的界面语言在重新启动程序后生效。"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    restart_button = new QPushButton(tr("现在重新启动"));
    restart_button->setObjectName("restart");
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("界面语言")));
    row->addWidget(choice);
    row->addWidget(restart_button);
    row->addStretch(1);
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addLayout(row);
    rows->addWidget(note);
    connect(choice, QOverload<int>::of(&QComboBox::activated), this, &LanguageSection::chosen);
    connect(restart_button, &QPushButton::clicked, this, &LanguageSection::restart);
    show_current();
}

void LanguageSection::show_current()
{
    choice->setCurrentIndex(qMax(0, choice->findData(InterfaceLanguage::chosen())));
    const bool pending = InterfaceLanguage::chosen() != InterfaceLanguage::running();
    note->setVisible(pending);
    restart_button->setVisible(pending);
}

void LanguageSection::chosen(int index)
{
    InterfaceLanguage::choose(choice->itemData(index).toString());
    show_current();
}

// Ends as the close button does (the recording kept, the port released,
// the settings written); the program then starts itself again.
void LanguageSection::restart()
{
    InterfaceLanguage::request_restart();
    if (QWidget *top = window())
        top->close();
    QCoreApplication::quit();
}
