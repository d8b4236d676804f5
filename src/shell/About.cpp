#include "shell/About.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velt {

TAboutBox::TAboutBox(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About the VELT Utility"));
    setFixedSize(380, 265);
    auto* column = new QVBoxLayout(this);
    lblName = new QLabel(QStringLiteral("zoZIV Ozavada"), this);
    lblVersion = new QLabel(QStringLiteral("Version 4.7.2"), this);
    lblBuild = new QLabel(QStringLiteral("%1-bit Version").arg(QT_POINTER_SIZE * 8), this);
    lblRights = new QLabel(QStringLiteral("All rights reserved."), this);
    lblNotice = new QLabel(QStringLiteral("A utility for autosomal DNA segment files."), this);
    for (QLabel* l : {lblName, lblVersion, lblBuild, lblRights, lblNotice}) {
        l->setAlignment(Qt::AlignCenter);
        column->addWidget(l);
    }
    bClose = new QPushButton(QStringLiteral("&Ok"), this);
    column->addWidget(bClose, 0, Qt::AlignHCenter);
    connect(bClose, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace velt
