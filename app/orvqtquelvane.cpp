#include "orvqtquelvane.h"

#include "windowloader.h"

OrvQtQuelvane::OrvQtQuelvane(QWidget *parent) : QMainWindow(parent)
{
    setMinimumSize(1024, 1024);
    OrvQtLib::loadWindowLayout(this, QStringLiteral("MainFrame"));
    // Qt::Window keeps it a window when it is given a parent.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The monitor display is set up here.
}

OrvQtQuelvane::~OrvQtQuelvane() = default;
