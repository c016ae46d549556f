#include "ui/ChildWindow.h"

ChildWindow::ChildWindow(QWidget* parent) : QWidget(parent) {}
