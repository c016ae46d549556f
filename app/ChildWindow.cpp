#include "app/ChildWindow.h"

ChildWindow::ChildWindow(QWidget* parent) : QWidget(parent) {}
