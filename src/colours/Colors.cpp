#include "colours/Colors.h"

namespace velt {

TColorForm::TColorForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ColorForm"));
    setWindowTitle(QStringLiteral("Assign Colors"));
    setFixedSize(406, 522);
}

} // namespace velt
