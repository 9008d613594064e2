#include "shell/Mainfrm.h"

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent) {
    BuildLayout();
}
