#pragma once

// TAboutBox: the About window.

#include <QDialog>

class QLabel;
class QPushButton;

namespace velt {

class TAboutBox : public QWidget {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent);

    QLabel *lblName, *lblVersion, *lblBuild, *lblRights, *lblNotice;
    QPushButton* bClose;
};

} // namespace velt
