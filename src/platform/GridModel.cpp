#include "platform/GridModel.h"

#include <algorithm>

#include <QBrush>
#include <QColor>
#include <QFont>

namespace velt {

namespace {

QVariant alignmentOf(CellAlign align)
{
    // An int, not Qt::Alignment: every Qt 6 delegate and header reads it back with toInt().
    switch (align) {
    case CellAlign::Leading: return int(Qt::AlignLeading | Qt::AlignVCenter);
    case CellAlign::Center: return int(Qt::AlignCenter);
    case CellAlign::Trailing: return int(Qt::AlignTrailing | Qt::AlignVCenter);
    case CellAlign::Default: break;
    }
    return {};
}

QVariant fontOf(const CellLayout& layout)
{
    if (layout.fontStyles == StyleNone && layout.fontSize <= 0)
        return {};
    // Only the attributes set here are marked as set, so the view's own family and size
    // fill in the rest when the delegate resolves this font against the view's.
    QFont font;
    if (layout.fontStyles & StyleBold)
        font.setBold(true);
    if (layout.fontStyles & StyleItalic)
        font.setItalic(true);
    if (layout.fontStyles & StyleUnderline)
        font.setUnderline(true);
    if (layout.fontStyles & StyleStrikeOut)
        font.setStrikeOut(true);
    // The size is tied to the row height, which is in pixels.
    if (layout.fontSize > 0)
        font.setPixelSize(std::max(1, qRound(layout.fontSize)));
    return font;
}

QVariant brushOf(Argb argb)
{
    if (argb == 0)
        return {};
    return QBrush(QColor::fromRgba(argb));
}

QVariant colorOf(Argb argb)
{
    if (argb == 0)
        return {};
    return QColor::fromRgba(argb);
}

} // namespace

GridModel::GridModel(Grid* grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid)
{
    m_rows = std::max(0, m_grid->RowCount() - 1);
    m_cols = m_grid->ColumnCount();
    m_grid->SetObserver(this);
}

GridModel::~GridModel()
{
    m_grid->SetObserver(nullptr);
}

void GridModel::setHeaderFill(Argb fill)
{
    m_headerFill = fill;
    if (m_cols > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

CellLayout GridModel::callbackLayout(int col, int row) const
{
    CellLayout layout;
    if (m_grid->OnGetCellLayout)
        m_grid->OnGetCellLayout(col, row, layout);
    return layout;
}

CellLayout GridModel::layoutOf(int col, int row) const
{
    CellLayout layout = callbackLayout(col, row);
    // The callback starts from an empty layout so that what it chose stays distinguishable
    // from the cell's own properties; its choices win, styles add up.
    if (layout.fill == 0)
        layout.fill = m_grid->Color(col, row);
    if (layout.fontColor == 0)
        layout.fontColor = m_grid->FontColor(col, row);
    layout.fontStyles |= m_grid->FontStyles(col, row);
    return layout;
}

QVariant GridModel::cellData(int col, int row, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        // Numbers are padded with leading blanks to a fixed width; aligned by the layout,
        // the blanks would only push digits out of narrow columns, and a reader would
        // speak them. The cell itself keeps its text.
        const QString& text = m_grid->Cell(col, row);
        if (!text.isEmpty() && text.front().isSpace())
            return text.trimmed();
        return text;
    }
    case Qt::CheckStateRole:
        if (!m_grid->HasCheckBox(col, row))
            return {};
        return m_grid->CheckBoxState(col, row) ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
        return brushOf(layoutOf(col, row).fill);
    case Qt::ForegroundRole:
        return brushOf(layoutOf(col, row).fontColor);
    case Qt::FontRole:
        return fontOf(layoutOf(col, row));
    case Qt::TextAlignmentRole:
        return alignmentOf(layoutOf(col, row).align);
    case LayoutFillRole:
        return colorOf(callbackLayout(col, row).fill);
    case LayoutFontColorRole:
        return colorOf(callbackLayout(col, row).fontColor);
    default:
        return {};
    }
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    return cellData(index.column(), gridRow(index.row()), role);
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    const int row = gridRow(index.row());
    if (!m_grid->HasCheckBox(index.column(), row))
        return false;
    // The grid reports the change (and any boxes it carried along) through the observer.
    m_grid->SetCheckBoxState(index.column(), row,
                             value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_cols)
        return QAbstractTableModel::headerData(section, orientation, role);
    QVariant value = cellData(section, 0, role);
    if (role == Qt::BackgroundRole && !value.isValid())
        value = brushOf(m_headerFill);
    return value;
}

bool GridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                              int role)
{
    if (orientation != Qt::Horizontal || role != Qt::CheckStateRole
        || !m_grid->HasCheckBox(section, 0))
        return false;
    m_grid->SetCheckBoxState(section, 0, value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_grid->HasCheckBox(index.column(), gridRow(index.row())))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void GridModel::syncCounts()
{
    beginResetModel();
    m_rows = std::max(0, m_grid->RowCount() - 1);
    m_cols = m_grid->ColumnCount();
    endResetModel();
}

void GridModel::gridReset()
{
    syncCounts();
}

void GridModel::cellsChanged(int col0, int row0, int col1, int row1)
{
    if (std::max(0, m_grid->RowCount() - 1) != m_rows || m_grid->ColumnCount() != m_cols) {
        syncCounts();
        return;
    }
    col0 = std::max(col0, 0);
    col1 = std::min(col1, m_cols - 1);
    if (col0 > col1)
        return;
    if (row0 <= 0 && row1 >= 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, col0, col1);
    const int first = std::max(row0, 1);
    const int last = std::min(row1, m_rows);
    if (first <= last)
        Q_EMIT dataChanged(index(modelRow(first), col0), index(modelRow(last), col1));
}

void GridModel::selectionChanged()
{
    Q_EMIT gridSelectionChanged();
}

void GridModel::topRowChanged(int row)
{
    Q_EMIT gridTopRowChanged(row);
}

} // namespace velt
