#include "platform/GridView.h"

#include <algorithm>

#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include "platform/GridModel.h"

namespace velt {

// The header row: painted from the model's header roles (so the layout callback's fill,
// font and alignment reach it), with the header check box, and telling the view which
// modifiers a click carried and whether the user is dragging a column edge.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setSortIndicatorShown(false);
    }

    Qt::KeyboardModifiers pressModifiers() const { return m_pressModifiers; }
    bool mouseDown() const { return m_mouseDown; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical) const override;
    QSize sectionSizeFromContents(int logical) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect checkRect(const QRect& section) const;
    QRect sectionRect(int logical) const
    {
        return {sectionViewportPosition(logical), 0, sectionSize(logical), height()};
    }

    Qt::KeyboardModifiers m_pressModifiers;
    bool m_mouseDown = false;
    bool m_checkPress = false;
};

QRect GridHeader::checkRect(const QRect& section) const
{
    const int w = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const int h = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    return {section.left() + 4, section.top() + (section.height() - h) / 2, w, h};
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logical) const
{
    const QAbstractItemModel* m = model();
    const QVariant fill = m->headerData(logical, orientation(), Qt::BackgroundRole);
    const QVariant check = m->headerData(logical, orientation(), Qt::CheckStateRole);
    if (!fill.isValid() && !check.isValid()) {
        QHeaderView::paintSection(painter, rect, logical);
        return;
    }
    // Styles treat a header's background brush as a hint at most; paint it ourselves.
    painter->save();
    painter->fillRect(rect, fill.isValid() ? qvariant_cast<QBrush>(fill) : palette().button());
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    QRect textRect = rect.adjusted(4, 0, -4, 0);
    if (check.isValid()) {
        QStyleOptionButton box;
        box.initFrom(this);
        box.rect = checkRect(rect);
        box.state |= check.value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On
                                                                  : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, this);
        textRect.setLeft(box.rect.right() + 4);
    }

    QFont f = font();
    const QVariant fontValue = m->headerData(logical, orientation(), Qt::FontRole);
    if (fontValue.isValid())
        f = qvariant_cast<QFont>(fontValue).resolve(f);
    painter->setFont(f);
    const QVariant fore = m->headerData(logical, orientation(), Qt::ForegroundRole);
    painter->setPen(fore.isValid() ? qvariant_cast<QBrush>(fore).color()
                                   : palette().color(QPalette::ButtonText));
    const QVariant alignValue = m->headerData(logical, orientation(), Qt::TextAlignmentRole);
    const Qt::Alignment align =
        alignValue.isValid() ? Qt::Alignment(alignValue.toInt()) : defaultAlignment();
    const QString text = m->headerData(logical, orientation(), Qt::DisplayRole).toString();
    painter->drawText(textRect, int(align),
                      QFontMetrics(f).elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QSize GridHeader::sectionSizeFromContents(int logical) const
{
    // No sizing to contents: a double click on a column edge leaves the width alone.
    return {sectionSize(logical), height()};
}

void GridHeader::mousePressEvent(QMouseEvent* event)
{
    m_pressModifiers = event->modifiers();
    const QPoint pos = event->position().toPoint();
    const int logical = logicalIndexAt(pos);
    if (event->button() == Qt::LeftButton && logical >= 0
        && model()->headerData(logical, orientation(), Qt::CheckStateRole).isValid()
        && checkRect(sectionRect(logical)).contains(pos)) {
        // A click on the box toggles it and is no sorting click.
        const bool checked = model()->headerData(logical, orientation(), Qt::CheckStateRole)
                                 .value<Qt::CheckState>() == Qt::Checked;
        model()->setHeaderData(logical, orientation(), checked ? Qt::Unchecked : Qt::Checked,
                               Qt::CheckStateRole);
        m_checkPress = true;
        event->accept();
        return;
    }
    m_mouseDown = true;
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_checkPress) {
        m_checkPress = false;
        event->accept();
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
    m_mouseDown = false;
}

namespace {

// A selected cell takes the layout callback's fill and font colour (a row's look when
// selected is the callback's to decide), else the view's selection colours.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridView* view) : QStyledItemDelegate(view), m_view(view) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(option->state & QStyle::State_Selected))
            return;
        QColor fill = index.data(GridModel::LayoutFillRole).value<QColor>();
        if (!fill.isValid())
            fill = m_view->selectionFill();
        if (fill.isValid())
            option->palette.setColor(QPalette::Highlight, fill);
        QColor text = index.data(GridModel::LayoutFontColorRole).value<QColor>();
        if (!text.isValid())
            text = m_view->selectionText();
        if (text.isValid())
            option->palette.setColor(QPalette::HighlightedText, text);
    }

private:
    GridView* m_view;
};

QColor colorOrNone(Argb argb)
{
    return argb == 0 ? QColor() : QColor::fromRgba(argb);
}

} // namespace

GridView::GridView(Grid* grid, QWidget* parent)
    : QTableView(parent), m_grid(grid), m_model(new GridModel(grid, this)),
      m_header(new GridHeader(this))
{
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));

    // The grid owns the selection: the view never selects by itself, it only shows what
    // the grid holds and passes the user's clicks on to it.
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    // Uniform rows: the header then needs no per-row sizes, which keeps huge grids cheap.
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_header->setMinimumSectionSize(1);
    m_header->setSectionResizeMode(QHeaderView::Interactive);

    connect(m_model, &QAbstractItemModel::modelReset, this, &GridView::onModelReset);
    connect(m_model, &GridModel::gridSelectionChanged, this, &GridView::syncSelectionFromGrid);
    connect(m_model, &GridModel::gridTopRowChanged, this, &GridView::applyTopRow);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GridView::onScrolled);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &GridView::applyTopRow);
    connect(m_header, &QHeaderView::sectionClicked, this, &GridView::onHeaderClicked);
    connect(m_header, &QHeaderView::sectionResized, this, &GridView::onSectionResized);

    applyGeometry();
    syncSelectionFromGrid();
}

void GridView::setSelectionColors(Argb fill, Argb text)
{
    m_selectionFill = colorOrNone(fill);
    m_selectionText = colorOrNone(text);
    viewport()->update();
}

void GridView::setHeaderFill(Argb fill)
{
    m_model->setHeaderFill(fill);
}

void GridView::applyGeometry()
{
    const int h = std::max(1, m_grid->DefaultRowHeight());
    verticalHeader()->setDefaultSectionSize(h);
    m_header->setFixedHeight(h);
    for (int col = 0; col < m_model->columnCount(); ++col) {
        const int w = m_grid->ColWidth(col);
        if (w > 0 && m_header->sectionSize(col) != w)
            m_header->resizeSection(col, w);
    }
}

int GridView::gridRowAt(const QPoint& viewportPos) const
{
    const int row = rowAt(viewportPos.y());
    return row < 0 ? -1 : GridModel::gridRow(row);
}

void GridView::selectByUser(int gridRow, Qt::KeyboardModifiers modifiers)
{
    const int lastCol = std::max(0, m_grid->ColumnCount() - 1);
    const bool disjunct = m_grid->Selecting == velt::SelectionMode::DisjunctRows;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (disjunct && shift && m_anchorRow >= 1) {
        const int from = std::min(m_anchorRow, gridRow);
        const int to = std::max(m_anchorRow, gridRow);
        if (ctrl)
            m_grid->SelectRows(from, to);
        else
            m_grid->SetSelection({0, from, lastCol, to});
        return; // the anchor stays, so further shift-clicks move the range's far end
    }
    if (disjunct && ctrl)
        m_grid->SetRowSelect(gridRow, !m_grid->RowSelect(gridRow));
    else
        m_grid->SetSelection({0, gridRow, lastCol, gridRow});
    m_anchorRow = gridRow;
}

void GridView::syncSelectionFromGrid()
{
    const int rows = m_model->rowCount();
    const int lastCol = m_model->columnCount() - 1;
    QItemSelection selection;
    if (lastCol >= 0) {
        // One range per run of adjacent rows, so selecting everything stays one range.
        const std::vector<int> selected = m_grid->SelectedRows();
        for (std::size_t i = 0; i < selected.size();) {
            std::size_t j = i;
            while (j + 1 < selected.size() && selected[j + 1] == selected[j] + 1)
                ++j;
            const int first = std::max(selected[i], 1);
            const int last = std::min(selected[j], rows);
            if (first <= last)
                selection.select(m_model->index(GridModel::modelRow(first), 0),
                                 m_model->index(GridModel::modelRow(last), lastCol));
            i = j + 1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);

    // Keyboard moves start from the grid's selection; showing it must not scroll, the
    // program sets the top row itself when it wants to.
    const int top = m_grid->Selection().top;
    if (top >= 1 && top <= rows && currentIndex().row() != GridModel::modelRow(top)) {
        const bool autoScrolling = hasAutoScroll();
        setAutoScroll(false);
        selectionModel()->setCurrentIndex(
            m_model->index(GridModel::modelRow(top), std::max(0, currentIndex().column())),
            QItemSelectionModel::NoUpdate);
        setAutoScroll(autoScrolling);
    }
}

void GridView::applyTopRow()
{
    if (m_applyingTop)
        return;
    QScrollBar* bar = verticalScrollBar();
    m_applyingTop = true;
    bar->setValue(GridModel::modelRow(m_grid->TopRow()));
    m_applyingTop = false;
    // Past the last page the view cannot go; tell the grid where it really is, but only
    // once laid out, or a hidden view would overwrite the program's choice with row 1.
    const int shown = GridModel::gridRow(bar->value());
    if (!m_pushingTop && isVisible() && shown != m_grid->TopRow())
        onScrolled(bar->value());
}

void GridView::onScrolled(int value)
{
    if (m_applyingTop || m_pushingTop)
        return;
    m_pushingTop = true;
    m_grid->SetTopRow(GridModel::gridRow(value));
    m_pushingTop = false;
}

void GridView::onModelReset()
{
    // The headers were rebuilt with default sizes and the scroll range is stale until the
    // next layout; bring both up to date before scrolling to the grid's top row.
    applyGeometry();
    updateGeometries();
    syncSelectionFromGrid();
    applyTopRow();
}

void GridView::onHeaderClicked(int column)
{
    if (m_grid->Mode != SortMode::Indexed)
        return;
    m_grid->HeaderClickSort(column, m_header->pressModifiers() & Qt::ShiftModifier);
}

void GridView::onSectionResized(int column, int, int newSize)
{
    // Only the user's drags are written back; resets and applyGeometry resize as well.
    if (!m_header->mouseDown())
        return;
    // The grid announces a width change as a reset, which would rebuild the header under
    // the dragging mouse; the view already shows the new width, so nobody needs telling.
    m_grid->SetObserver(nullptr);
    m_grid->SetColWidth(column, newSize);
    m_grid->SetObserver(m_model);
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (onRightClick)
            onRightClick(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    const int row = gridRowAt(pos);
    if (event->button() == Qt::LeftButton && row >= 1 && columnAt(pos.x()) >= 0)
        selectByUser(row, event->modifiers());
    QTableView::mousePressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    const int row = gridRowAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && row >= 1 && onDoubleClick)
        onDoubleClick(row);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (onKeyPress && onKeyPress(event)) {
        event->accept();
        return;
    }
    // Row navigation moves the grid's selection (the view itself selects nothing); Shift
    // extends it. Home and End go to the first and last row, as in a list.
    QModelIndex next;
    const int column = std::max(0, currentIndex().column());
    switch (event->key()) {
    case Qt::Key_Up: next = moveCursor(MoveUp, event->modifiers()); break;
    case Qt::Key_Down: next = moveCursor(MoveDown, event->modifiers()); break;
    case Qt::Key_PageUp: next = moveCursor(MovePageUp, event->modifiers()); break;
    case Qt::Key_PageDown: next = moveCursor(MovePageDown, event->modifiers()); break;
    case Qt::Key_Home: next = m_model->index(0, column); break;
    case Qt::Key_End: next = m_model->index(m_model->rowCount() - 1, column); break;
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!next.isValid())
        return;
    selectByUser(GridModel::gridRow(next.row()), event->modifiers() & Qt::ShiftModifier);
    selectionModel()->setCurrentIndex(next, QItemSelectionModel::NoUpdate);
    scrollTo(next);
}

void GridView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QTableView::wheelEvent(event);
        return;
    }
    // One notch (120 units) scrolls one row, whatever the desktop's lines-per-notch.
    m_wheelRemainder += delta;
    const int steps = m_wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - steps);
    event->accept();
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    const int h = std::max(1, m_grid->DefaultRowHeight());
    m_grid->SetVisibleRowCount(viewport()->height() / h);
}

int GridView::sizeHintForColumn(int column) const
{
    // No sizing to contents (it would also walk the rows of a huge grid).
    return columnWidth(column);
}

} // namespace velt
