// A grid over a data source: persistent columns (title, width, visibility,
// read-only), row selection, in-place editing, an ellipsis button per
// column and a cell-drawing hook. The grid's current row is the dataset's.
#pragma once

#include "ui/datalink.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ui {

struct GridColumn {
    QString fieldName;
    QString title;  // empty: the field name
    int width = 64;
    bool visible = true;
    bool readOnly = false;
    bool ellipsis = false;  // the cell editor carries a "…" button
};

// What the drawing hook may change for one cell before it is painted.
struct CellStyle {
    int row = 0;     // 0-based; the dataset's recNo is row + 1
    int column = 0;  // index into the grid's columns
    QString fieldName;
    QString text;
    QColor background;
    QColor foreground;
    QFont font;
    bool selected = false;
    bool current = false;  // the dataset's current row
    // The display text of any field of the same row (also fields without a column).
    std::function<QString(const QString& fieldName)> value;
};

class GridModel;

class DBGrid : public QTableView, public DataAware {
    Q_OBJECT
public:
    explicit DBGrid(const QString& name, QWidget* parent = nullptr);
    ~DBGrid() override;

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const override { return source_; }

    // Persistent columns; with none, every field of the dataset is shown.
    int addColumn(const GridColumn& column);
    void setColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    void setColumnVisible(int column, bool visible);
    void setColumnTitle(int column, const QString& title);
    // A column edited by choosing one of `items` (a drop-down list) instead of typing.
    void setPickList(int column, const QStringList& items);
    QStringList pickList(int column) const;
    int gridColumnCount() const;

    void setRowSelect(bool on);
    void setReadOnly(bool on);
    bool isReadOnly() const { return readOnly_; }

    void setOnEditButtonClick(std::function<void(int column)> handler) { onEditButton_ = std::move(handler); }
    void setOnDrawCell(std::function<void(CellStyle&)> handler) { onDrawCell_ = std::move(handler); }
    void setOnDblClick(std::function<void()> handler) { onDblClick_ = std::move(handler); }

    // Cell text as shown, and the style the drawing hook gives a cell.
    QString cellText(int row, int column) const;
    CellStyle cellStyle(int row, int column, bool selected = false) const;
    int rowCountShown() const;
    // Runs the ellipsis handler of a column as the button does.
    void clickEditButton(int column);
    // Re-reads every row (done by itself on the data source's changes).
    void reload();

private:
    friend class GridModel;
    friend class GridDelegate;
    void applyColumns();
    void rowsChanged();
    void syncCurrent();
    void userMovedTo(int row);
    QString fieldNameOf(int column) const;

    void attach();
    void detach();

    db::DataSource* source_ = nullptr;
    int observers_[2] = {0, 0};
    GridModel* model_;
    std::map<int, QStringList> pickLists_;
    std::vector<GridColumn> columns_;
    bool readOnly_ = false;
    bool syncing_ = false;
    bool reading_ = false;
    std::function<void(int)> onEditButton_;
    std::function<void(CellStyle&)> onDrawCell_;
    std::function<void()> onDblClick_;
};

}  // namespace ui
