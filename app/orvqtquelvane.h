#pragma once

#include <QMainWindow>

class OrvQtQuelvane : public QMainWindow
{
    Q_OBJECT

public:
    explicit OrvQtQuelvane(QWidget *parent = nullptr);
    ~OrvQtQuelvane() override;
};
