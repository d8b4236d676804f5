#pragma once

// TColorForm: the colour window (its grid and commands come with their own work).

#include <QWidget>

namespace velt {

class TColorForm : public QWidget {
    Q_OBJECT
public:
    explicit TColorForm(QWidget* parent);
};

} // namespace velt
