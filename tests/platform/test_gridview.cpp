#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "platform/Grid.h"
#include "platform/GridModel.h"
#include "platform/GridView.h"
#include "platform/QtDialogs.h"

using namespace velt;

namespace {

// A grid with a header row "H0".."Hn" and data cells "r<row>c<col>".
void fill(Grid& g, int cols, int dataRows)
{
    g.SetColumnCount(cols);
    g.SetRowCount(dataRows + 1);
    for (int c = 0; c < cols; ++c) {
        g.SetCell(c, 0, QStringLiteral("H%1").arg(c));
        for (int r = 1; r <= dataRows; ++r)
            g.SetCell(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
    }
}

// Runs `act` on the next modal dialog once it is up; the dialog's exec() then returns.
void whenModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

struct ViewFixture : ::testing::Test {
    Grid grid;
    std::unique_ptr<GridView> view;

    void SetUp() override
    {
        fill(grid, 3, 30);
        view = std::make_unique<GridView>(&grid);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QPoint rowPoint(int gridRow) const
    {
        return view->visualRect(view->model()->index(GridModel::modelRow(gridRow), 1)).center();
    }
    void click(int gridRow, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, rowPoint(gridRow));
    }
    void clickHeader(int col, Qt::KeyboardModifiers mods = {})
    {
        QHeaderView* h = view->horizontalHeader();
        const QPoint p(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, mods, p);
    }
    std::vector<int> viewSelectedRows() const
    {
        std::vector<int> rows;
        for (const QModelIndex& i : view->selectionModel()->selectedRows())
            rows.push_back(GridModel::gridRow(i.row()));
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

} // namespace

TEST(GridModel, FollowsGridWithHeaderRowAsHeader)
{
    Grid g;
    fill(g, 3, 4);
    GridModel m(&g);
    EXPECT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.columnCount(), 3);
    EXPECT_EQ(m.headerData(2, Qt::Horizontal).toString(), "H2");
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), "r1c1");
    EXPECT_EQ(m.data(m.index(3, 2), Qt::AccessibleTextRole).toString(), "r4c2");

    // Growing the grid (a write beyond the last column, a longer row count) shows up.
    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    g.SetCell(4, 2, "wide");
    g.SetRowCount(8);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(m.columnCount(), 5);
    EXPECT_EQ(m.rowCount(), 7);
    EXPECT_EQ(m.data(m.index(1, 4)).toString(), "wide");

    // A plain cell edit is a data change of that cell, not a reset.
    QSignalSpy changes(&m, &QAbstractItemModel::dataChanged);
    g.SetCell(0, 3, "edited");
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex(), m.index(2, 0));
    EXPECT_EQ(resets.count(), 2);
}

TEST(GridModel, RolesFromCellPropertiesAndLayoutCallback)
{
    Grid g;
    fill(g, 3, 3);
    g.SetColor(0, 1, 0xFFFF0000);
    g.SetFontColor(0, 1, 0xFF00FF00);
    g.SetFontStyles(0, 2, StyleItalic);
    g.OnGetCellLayout = [&g](int col, int row, CellLayout& l) {
        l.fontSize = 12;
        if (row == 0) {
            l.fill = 0xFFC0C0C0;
            l.fontStyles = StyleBold;
            l.align = CellAlign::Center;
        } else if (col == 2) {
            l.align = CellAlign::Trailing;
        }
        if (row == 3 && g.RowSelect(row)) {
            l.fill = 0xFF000000;
            l.fontStyles = StyleBold;
        }
    };
    GridModel m(&g);

    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(m.headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().pixelSize(), 12);

    // The cell's own colours show where the callback sets none, and are not reported as
    // the callback's choice (that one decides how a selected row looks).
    const QModelIndex red = m.index(0, 0);
    EXPECT_EQ(m.data(red, Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::red));
    EXPECT_EQ(m.data(red, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::green));
    EXPECT_FALSE(m.data(red, GridModel::LayoutFillRole).isValid());
    EXPECT_FALSE(m.data(red, Qt::TextAlignmentRole).isValid());
    EXPECT_TRUE(m.data(m.index(1, 0), Qt::FontRole).value<QFont>().italic());
    EXPECT_EQ(m.data(m.index(1, 2), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignTrailing | Qt::AlignVCenter));

    EXPECT_FALSE(m.data(m.index(2, 0), Qt::FontRole).value<QFont>().bold());
    g.SetRowSelect(3, true);
    EXPECT_TRUE(m.data(m.index(2, 0), Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(m.data(m.index(2, 0), GridModel::LayoutFillRole).value<QColor>(), QColor(Qt::black));
}

TEST(GridModel, CheckBoxesToggleThroughSetDataAndHeaderCarriesDown)
{
    Grid g;
    fill(g, 2, 5);
    g.AddHeaderCheckBox(1);
    for (int r = 1; r <= 3; ++r)
        g.AddCheckBox(1, r);
    g.AddCheckBox(1, 5); // past the gap at row 4: the header box does not reach it
    GridModel m(&g);

    EXPECT_FALSE(m.flags(m.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(m.data(m.index(0, 0), Qt::CheckStateRole).isValid());
    ASSERT_TRUE(m.flags(m.index(1, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(m.setData(m.index(0, 0), Qt::Checked, Qt::CheckStateRole));

    EXPECT_TRUE(m.setData(m.index(1, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(g.CheckBoxState(1, 2));
    EXPECT_EQ(m.data(m.index(1, 1), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);

    QSignalSpy changes(&m, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(m.setHeaderData(1, Qt::Horizontal, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Checked);
    for (int r = 1; r <= 3; ++r)
        EXPECT_TRUE(g.CheckBoxState(1, r)) << r;
    EXPECT_FALSE(g.CheckBoxState(1, 5));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex(), m.index(2, 1)); // the carried rows repaint
}

TEST(GridModel, NestedBulkUpdateGivesOneReset)
{
    Grid g;
    fill(g, 3, 3);
    GridModel m(&g);
    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&m, &QAbstractItemModel::dataChanged);
    g.BeginUpdate();
    g.BeginUpdate();
    g.SetRowCount(101);
    for (int r = 1; r <= 100; ++r)
        g.SetCell(0, r, "x");
    g.EndUpdate();
    EXPECT_EQ(resets.count(), 0);
    g.DeleteRow(1);
    g.EndUpdate();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(m.rowCount(), 99);
}

TEST_F(ViewFixture, ClicksSetGridSelectionByMode)
{
    enum Action { Click, CtrlClick, ShiftClick };
    struct Case {
        const char* name;
        velt::SelectionMode mode;
        std::vector<std::pair<Action, int>> clicks;
        std::vector<int> selected;
    };
    const Case cases[] = {
        {"single: click replaces", velt::SelectionMode::SingleRow, {{Click, 2}, {Click, 4}}, {4}},
        {"single: ctrl-click replaces too", velt::SelectionMode::SingleRow,
         {{Click, 2}, {CtrlClick, 4}}, {4}},
        {"disjunct: click replaces", velt::SelectionMode::DisjunctRows,
         {{CtrlClick, 2}, {Click, 4}}, {4}},
        {"disjunct: ctrl-click adds", velt::SelectionMode::DisjunctRows,
         {{Click, 2}, {CtrlClick, 4}, {CtrlClick, 6}}, {2, 4, 6}},
        {"disjunct: ctrl-click toggles off", velt::SelectionMode::DisjunctRows,
         {{Click, 2}, {CtrlClick, 4}, {CtrlClick, 2}}, {4}},
        {"disjunct: shift-click extends from the anchor", velt::SelectionMode::DisjunctRows,
         {{Click, 5}, {ShiftClick, 3}}, {3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid.SetSelection({});
        grid.SetSelectionMode(c.mode);
        for (auto [action, row] : c.clicks)
            click(row, action == CtrlClick  ? Qt::ControlModifier
                       : action == ShiftClick ? Qt::ShiftModifier
                                              : Qt::NoModifier);
        EXPECT_EQ(grid.SelectedRows(), c.selected);
        EXPECT_EQ(viewSelectedRows(), c.selected);
    }

    // A plain click also sets the grid's selection range to the whole row.
    click(7);
    EXPECT_EQ(grid.Selection(), (CellRange{0, 7, 2, 7}));
}

TEST_F(ViewFixture, GridSelectionShowsInViewAndKeysFollowIt)
{
    grid.SetSelectionMode(velt::SelectionMode::DisjunctRows);
    grid.SelectRows(3, 4);
    grid.SetRowSelect(9, true);
    EXPECT_EQ(viewSelectedRows(), (std::vector<int>{3, 4, 9}));

    // Down moves the grid's selection on from its range.
    grid.SetSelection({0, 5, 2, 5});
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(grid.SelectedRows(), std::vector<int>{6});

    // A key the window consumes does nothing else.
    std::vector<int> keys;
    view->onKeyPress = [&keys](QKeyEvent* e) {
        keys.push_back(e->key());
        return e->key() == Qt::Key_Down;
    };
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(grid.SelectedRows(), std::vector<int>{6});
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(grid.SelectedRows(), std::vector<int>{5});
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Down, Qt::Key_Up}));
}

TEST_F(ViewFixture, MouseHooksReportGridRowAndLeaveSelectionOnRightClick)
{
    int doubleClicked = -1;
    QPoint rightAt;
    view->onDoubleClick = [&](int row) { doubleClicked = row; };
    view->onRightClick = [&](const QPoint& p) { rightAt = p; };
    click(3);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rowPoint(4));
    EXPECT_EQ(doubleClicked, 4);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, rowPoint(8));
    EXPECT_EQ(rightAt, view->viewport()->mapToGlobal(rowPoint(8)));
    EXPECT_EQ(grid.SelectedRows(), std::vector<int>{4});
}

TEST_F(ViewFixture, HeaderClickSortsOnlyInIndexedMode)
{
    for (int r = 1; r <= 30; ++r) {
        grid.SetCell(0, r, QString::number(r % 3));     // 1,2,0,1,2,0...
        grid.SetCell(1, r, QString::number(100 - r));   // tie breaker, falling
    }
    grid.Mode = SortMode::Normal;
    clickHeader(0);
    EXPECT_EQ(grid.Cell(0, 1), "1");
    EXPECT_TRUE(grid.SortIndexes.empty());

    grid.Mode = SortMode::Indexed;
    grid.MultiColumn = true;
    QSignalSpy resets(view->model(), &QAbstractItemModel::modelReset);
    clickHeader(0);
    EXPECT_EQ(resets.count(), 1);
    ASSERT_EQ(grid.SortIndexes.size(), 1u);
    EXPECT_EQ(grid.Cell(0, 1), "0");
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), "0");

    clickHeader(1, Qt::ShiftModifier);
    ASSERT_EQ(grid.SortIndexes.size(), 2u);
    EXPECT_EQ(grid.SortIndexes[1].column, 1);
    EXPECT_EQ(grid.Cell(1, 1), "70"); // smallest of the rows holding 0

    clickHeader(1); // without shift the list starts over, with the key flipped
    ASSERT_EQ(grid.SortIndexes.size(), 1u);
    EXPECT_EQ(grid.Cell(1, 1), "99");
    EXPECT_EQ(grid.Cell(1, 30), "70");
}

TEST_F(ViewFixture, HeaderCheckBoxClickTogglesWithoutSorting)
{
    grid.Mode = SortMode::Indexed;
    grid.AddHeaderCheckBox(0);
    for (int r = 1; r <= 30; ++r)
        grid.AddCheckBox(0, r);
    QHeaderView* h = view->horizontalHeader();
    const int box = view->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(4 + box / 2, h->height() / 2));
    EXPECT_TRUE(grid.CheckBoxState(0, 0));
    EXPECT_TRUE(grid.CheckBoxState(0, 30));
    EXPECT_TRUE(grid.SortIndexes.empty());
}

TEST_F(ViewFixture, WheelNotchScrollsOneRowAndTopRowFollowsBothWays)
{
    const int rowHeight = grid.DefaultRowHeight();
    EXPECT_EQ(view->verticalHeader()->defaultSectionSize(), rowHeight);
    EXPECT_EQ(grid.VisibleRowCount(), view->viewport()->height() / rowHeight);

    auto wheel = [this](int delta) {
        const QPointF pos = rowPoint(2);
        QWheelEvent e(pos, view->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &e);
    };
    wheel(-120);
    EXPECT_EQ(grid.TopRow(), 2);
    wheel(-60); // half a notch waits for the other half
    EXPECT_EQ(grid.TopRow(), 2);
    wheel(-60);
    EXPECT_EQ(grid.TopRow(), 3);
    wheel(240);
    EXPECT_EQ(grid.TopRow(), 1);

    grid.SetTopRow(6);
    EXPECT_EQ(view->rowAt(0), GridModel::modelRow(6));
    grid.NextPage();
    EXPECT_EQ(view->rowAt(0), GridModel::modelRow(6 + grid.VisibleRowCount()));
}

TEST_F(ViewFixture, ColumnWidthsComeFromGridAndUserDragsGoBack)
{
    grid.SetColWidth(0, 150);
    EXPECT_EQ(view->columnWidth(0), 150);

    QHeaderView* h = view->horizontalHeader();
    const QPoint edge(h->sectionViewportPosition(1) + h->sectionSize(1) - 1, h->height() / 2);
    QTest::mousePress(h->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(h->viewport(), edge + QPoint(30, 0));
    QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(grid.ColWidth(1), view->columnWidth(1));
    EXPECT_GT(grid.ColWidth(1), 80);
}

TEST_F(ViewFixture, SelectedRowsPaintInLayoutOrViewColours)
{
    grid.SetSelection({0, 2, 2, 2});
    view->setSelectionColors(0xFFB0C4DE, 0xFFFFFFFF);
    view->setHeaderFill(0xFFE6E6E6);
    for (int c = 0; c < 3; ++c)
        grid.SetCell(c, 2, "");
    auto pixelAt = [this](int gridRow) {
        const QImage image = view->viewport()->grab().toImage();
        const QRect r = view->visualRect(view->model()->index(GridModel::modelRow(gridRow), 1));
        return image.pixelColor(r.right() - 3, r.center().y());
    };
    EXPECT_EQ(pixelAt(2), QColor(0xB0, 0xC4, 0xDE));
    const QImage header = view->horizontalHeader()->viewport()->grab().toImage();
    EXPECT_EQ(header.pixelColor(10, 3), QColor(0xE6, 0xE6, 0xE6));

    grid.OnGetCellLayout = [this](int, int row, CellLayout& l) {
        if (grid.RowSelect(row))
            l.fill = 0xFF000000;
    };
    view->viewport()->update();
    EXPECT_EQ(pixelAt(2), QColor(Qt::black));
}

TEST(GridView, MillionRowsScrollToTheEnd)
{
    Grid g(3, 1);
    g.SetRowCount(1'000'001);
    g.SetCell(0, 1'000'000, "last");
    GridView view(&g);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.model()->rowCount(), 1'000'000);

    view.scrollToBottom();
    EXPECT_EQ(g.TopRow(), view.verticalScrollBar()->maximum() + 1);
    EXPECT_GT(g.TopRow() + g.VisibleRowCount(), 1'000'000);
    const int lastShown = view.rowAt(view.viewport()->height() - 1);
    EXPECT_EQ(view.model()->index(view.model()->rowCount() - 1, 0).data().toString(), "last");
    EXPECT_GE(GridModel::gridRow(lastShown), 999'990);
}

TEST(QtDialogs, FilterConversion)
{
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"Desc (*.a; *.b)|*.a;*.b|Other|*.x", {"Desc (*.a *.b)", "Other (*.x)"}},
        {"All files (*.*)|*.*", {"All files (*)"}},
        {"CSV (comma separated)|*.csv", {"CSV (comma separated) (*.csv)"}},
        {"Only a description (*.txt)", {"Only a description (*.txt)"}},
        {"Nothing to match|", {"Nothing to match (*)"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(qtNameFilters(QString::fromUtf8(c.filter)), c.expected);
    }
}

TEST(QtDialogs, QuestionDefaultsToNo)
{
    QtDialogs dialogs;
    whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_FALSE(dialogs.question("Delete?", QuestionKind::Warning));
    whenModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(box);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(dialogs.question("Delete?", QuestionKind::Confirmation));
}

TEST(QtDialogs, SaveFileReportsChosenFilterAndAddsSuffix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtDialogs dialogs;
    FileDialogOptions o;
    o.title = "Save";
    o.filter = "Text (*.txt)|*.txt|CSV (*.csv)|*.csv";
    o.filterIndex = 2;
    o.defaultSuffix = "csv";
    o.directory = dir.path();
    o.fileName = "proposed";
    QStringList seen;
    whenModal([&seen](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(d);
        seen << d->selectedNameFilter() << d->findChild<QLineEdit*>("fileNameEdit")->text();
        static_cast<QDialog*>(d)->accept(); // QFileDialog hides it, the override still runs
    });
    const auto choice = dialogs.saveFile(o);
    ASSERT_TRUE(choice);
    EXPECT_EQ(seen, (QStringList{"CSV (*.csv)", "proposed"}));
    EXPECT_EQ(choice->filterIndex, 2);
    EXPECT_EQ(choice->path, dir.filePath("proposed.csv"));
}
