#pragma once

// TDetailForm: the single chromosome browser window (its drawing comes with its own work).

#include <QWidget>

namespace velt {

class TDetailForm : public QWidget {
    Q_OBJECT
public:
    explicit TDetailForm(QWidget* parent);
};

} // namespace velt
