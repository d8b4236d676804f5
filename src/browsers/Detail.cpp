#include "browsers/Detail.h"

namespace velt {

TDetailForm::TDetailForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("DetailForm"));
    setWindowTitle(QStringLiteral("Single Chromosome Browser"));
    resize(802, 480);
}

} // namespace velt
