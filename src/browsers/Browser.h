#pragma once

// TBrowserForm: the chromosome browser window. Its drawing comes with its own work; for
// now it is the window with its caption and size and the two commands the outputs call.

#include <QWidget>

namespace velt {

class TBrowserForm : public QWidget {
    Q_OBJECT
public:
    explicit TBrowserForm(QWidget* parent);
    void bClearClick();
    void bRepopulateClick();
};

} // namespace velt
