#include "browsers/Browser.h"

namespace velt {

TBrowserForm::TBrowserForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("BrowserForm"));
    setWindowTitle(QStringLiteral("Chromosome Browser"));
    resize(650, 742);
}

void TBrowserForm::bClearClick() {}

void TBrowserForm::bRepopulateClick() {}

} // namespace velt
