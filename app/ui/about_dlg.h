#pragma once

#include <QDialog>

namespace quorim {

// The about box, template 100, shown modally by the About command.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace quorim
