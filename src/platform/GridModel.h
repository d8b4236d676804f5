#pragma once

// GridModel: a Qt table model over a velt::Grid, so a QTableView can show it. The grid's
// header row 0 is the horizontal header; model row i is grid row i+1. Reads go straight to
// the grid (no per-row caches), so a million rows cost no more than a hundred.

#include <QAbstractTableModel>

#include "platform/Grid.h"

namespace velt {

class GridModel : public QAbstractTableModel, public GridObserver {
    Q_OBJECT
public:
    // Only what the layout callback itself chose, before the cell's own properties are
    // merged in: the view uses these to colour a selected row, since the plain cell
    // colours must not hide the selection.
    enum Roles {
        LayoutFillRole = Qt::UserRole + 1,
        LayoutFontColorRole,
    };

    // Registers itself as the grid's observer; the grid must outlive the model.
    explicit GridModel(Grid* grid, QObject* parent = nullptr);
    ~GridModel() override;

    Grid* grid() const { return m_grid; }
    static int gridRow(int modelRow) { return modelRow + 1; }
    static int modelRow(int gridRow) { return gridRow - 1; }

    // Fill of the header cells when neither the cell nor the layout callback sets one.
    void setHeaderFill(Argb fill);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The cell's look: its own properties overlaid by the grid's layout callback.
    CellLayout layoutOf(int col, int row) const;
    // Only what the callback sets, from an empty layout.
    CellLayout callbackLayout(int col, int row) const;

    // GridObserver
    void gridReset() override;
    void cellsChanged(int col0, int row0, int col1, int row1) override;
    void selectionChanged() override;
    void topRowChanged(int row) override;

Q_SIGNALS:
    void gridSelectionChanged();
    void gridTopRowChanged(int row);

private:
    QVariant cellData(int col, int row, int role) const;
    void syncCounts();

    Grid* m_grid;
    // Counts as last announced to the views: Qt requires a size change to be signalled, so
    // a grid that changed size without saying so is answered with a reset, never a lie.
    int m_rows = 0;
    int m_cols = 0;
    Argb m_headerFill = 0;
};

} // namespace velt
