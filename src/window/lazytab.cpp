#include "lazytab.h"

#include <QVBoxLayout>

LazyTab::LazyTab(std::function<QWidget *()> build_page, QWidget *parent)
    : QWidget(parent), build(std::move(build_page))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget *LazyTab::content()
{
    if (!page) {
        page = build();
        layout()->addWidget(page);
    }
    return page;
}

void LazyTab::showEvent(QShowEvent *event)
{
    content();
    QWidget::showEvent(event);
}
