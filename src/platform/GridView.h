#pragma once

// GridView: the table widget over a velt::Grid. The grid is the source of truth for the
// selection, the top row and the column widths; the view follows its notifications and
// writes the user's clicks, scrolling and column drags back into it.

#include <functional>

#include <QColor>
#include <QTableView>

#include "platform/Grid.h"

class QKeyEvent;

namespace velt {

class GridHeader;
class GridModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    // The grid must outlive the view; the view owns its model.
    explicit GridView(Grid* grid, QWidget* parent = nullptr);

    Grid* grid() const { return m_grid; }
    GridModel* gridModel() const { return m_model; }

    // Colours of a selected row where the layout callback sets none; 0 keeps the style's.
    void setSelectionColors(Argb fill, Argb text);
    QColor selectionFill() const { return m_selectionFill; }
    QColor selectionText() const { return m_selectionText; }
    // Header fill where neither the header cell nor the layout callback sets one.
    void setHeaderFill(Argb fill);

    // Row height, header height and column widths from the grid; runs by itself after every
    // reset, call it after changing those settings on a grid that is already shown.
    void applyGeometry();

    // The grid row under a point of the viewport, -1 for none.
    int gridRowAt(const QPoint& viewportPos) const;

    // Hooks for the window. onKeyPress returns true when it consumed the key.
    std::function<bool(QKeyEvent*)> onKeyPress;
    std::function<void(int gridRow)> onDoubleClick;
    std::function<void(const QPoint& globalPos)> onRightClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void updateGeometries() override;
    int sizeHintForColumn(int column) const override;

private:
    void selectByUser(int gridRow, Qt::KeyboardModifiers modifiers);
    void syncSelectionFromGrid();
    void applyTopRow();
    void onScrolled(int value);
    void onModelReset();
    void onHeaderClicked(int column);
    void onSectionResized(int column, int oldSize, int newSize);

    Grid* m_grid;
    GridModel* m_model;
    GridHeader* m_header;
    QColor m_selectionFill;
    QColor m_selectionText;
    int m_anchorRow = -1;           // where a shift-click range starts
    int m_wheelRemainder = 0;       // high-resolution wheels send parts of a notch
    bool m_applyingTop = false;     // scrolling to the grid's top row, not the user's
    bool m_pushingTop = false;      // writing the view's top row into the grid
};

} // namespace velt
