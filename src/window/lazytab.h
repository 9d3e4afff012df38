#ifndef LAZYTAB_H
#define LAZYTAB_H

#include <QWidget>

#include <functional>

// A page whose content is built the first time it is shown, or when asked
// for: a tab the operator never opens costs no memory and no start-up time.
class LazyTab : public QWidget
{
    Q_OBJECT

public:
    explicit LazyTab(std::function<QWidget *()> build, QWidget *parent = nullptr);

    // The content, built now if it was not yet.
    QWidget *content();
    bool built() const { return page != nullptr; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<QWidget *()> build;
    QWidget *page = nullptr;
};

#endif
