#include "ui/dbgrid.h"

#include "ui/dbcontrols.h"
#include "ui/guard.h"

#include <db/dataset.h>

#include <rtl/errors.h>
#include <rtl/qt.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>

namespace ui {

using rtl::fromQString;
using rtl::toQString;

namespace {
bool editing(db::Dataset* ds) {
    return ds && (ds->state() == db::DatasetState::Edit || ds->state() == db::DatasetState::Insert);
}
}  // namespace

// Rows of the dataset as display texts, read without moving its cursor for
// good; the row being edited or inserted is always read live.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(DBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    db::Dataset* dataset() const {
        db::DataSource* s = grid_->source_;
        return s && s->enabled() && s->dataSet() && s->dataSet()->active() ? s->dataSet() : nullptr;
    }

    int insertRow() const {
        db::Dataset* ds = dataset();
        return ds && ds->state() == db::DatasetState::Insert ? ds->recNo() - 1 : -1;
    }
    int liveRow() const {
        db::Dataset* ds = dataset();
        return editing(ds) ? ds->recNo() - 1 : -1;
    }
    // Grid row -> the dataset's recNo (0 for the row being inserted).
    int recNoOf(int row) const {
        const int ins = insertRow();
        if (ins < 0) return row + 1;
        if (row == ins) return 0;
        return row > ins ? row : row + 1;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid()) return 0;
        return static_cast<int>(rows_.size()) + (insertRow() >= 0 ? 1 : 0);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid()) return 0;
        return grid_->gridColumnCount();
    }

    QString value(int row, const QString& fieldName) const {
        db::Dataset* ds = dataset();
        if (!ds) return {};
        db::Field* f = ds->findField(fromQString(fieldName));
        if (!f) return {};
        if (row == liveRow()) return fieldDisplayText(*f);
        int r = row;
        const int ins = insertRow();
        if (ins >= 0 && row > ins) --r;
        if (r < 0 || r >= static_cast<int>(rows_.size())) return {};
        return rows_[static_cast<size_t>(r)].value(f->index());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const QString name = grid_->fieldNameOf(index.column());
        if (role == Qt::DisplayRole) return value(index.row(), name);
        if (role == Qt::EditRole) {
            db::Dataset* ds = dataset();
            db::Field* f = ds ? ds->findField(fromQString(name)) : nullptr;
            if (f && index.row() == ds->recNo() - 1) return fieldEditText(*f);
            return value(index.row(), name);
        }
        if (role == Qt::TextAlignmentRole) {
            db::Dataset* ds = dataset();
            db::Field* f = ds ? ds->findField(fromQString(name)) : nullptr;
            const bool number = f && db::isNumericKind(f->kind());
            return static_cast<int>(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
        const auto& cols = grid_->columns_;
        if (!cols.empty() && section < static_cast<int>(cols.size()))
            return cols[static_cast<size_t>(section)].title.isEmpty() ? cols[static_cast<size_t>(section)].fieldName
                                                                      : cols[static_cast<size_t>(section)].title;
        return grid_->fieldNameOf(section);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!index.isValid() || grid_->readOnly_) return fl;
        const auto& cols = grid_->columns_;
        if (!cols.empty() && cols[static_cast<size_t>(index.column())].readOnly) return fl;
        db::Dataset* ds = dataset();
        db::Field* f = ds ? ds->findField(fromQString(grid_->fieldNameOf(index.column()))) : nullptr;
        if (f && !f->readOnly() && ds->canModify()) fl |= Qt::ItemIsEditable;
        return fl;
    }

    bool setData(const QModelIndex& index, const QVariant& v, int role) override {
        if (role != Qt::EditRole || !index.isValid()) return false;
        return guard([&] {
            db::Dataset* ds = dataset();
            if (!ds) return;
            db::Field& f = ds->fieldByName(fromQString(grid_->fieldNameOf(index.column())));
            const int recNo = recNoOf(index.row());
            if (recNo != 0 && recNo != ds->recNo()) ds->setRecNo(recNo);
            if (fieldEditText(f) == v.toString() && !editing(ds)) return;  // nothing typed
            if (!editing(ds) && !grid_->source_->edit()) throw rtl::DatabaseError("このデータは変更できません。");
            f.setEditText(fromQString(v.toString()));
        });
    }

    // Re-reads all rows; a reset only when the shape changed.
    void reload() {
        db::Dataset* ds = dataset();
        std::vector<QStringList> rows;
        if (ds && !editing(ds)) {
            grid_->reading_ = true;
            struct Done {
                bool& f;
                ~Done() { f = false; }
            } done{grid_->reading_};
            forEachRow(*ds, [&](int) {
                QStringList texts;
                for (int i = 0; i < ds->fieldCount(); ++i) texts << fieldDisplayText(ds->field(i));
                rows.push_back(std::move(texts));
            });
        } else if (ds) {
            rows = rows_;  // the rows cannot be read while one is edited
        }
        const bool sameShape =
            rows.size() == rows_.size() && ds == lastDs_ && insertRow() == lastInsert_ && columnCount() == lastColumns_;
        if (sameShape) {
            rows_ = std::move(rows);
            if (rowCount() > 0 && columnCount() > 0)
                emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        } else {
            beginResetModel();
            rows_ = std::move(rows);
            lastDs_ = ds;
            lastInsert_ = insertRow();
            lastColumns_ = columnCount();
            endResetModel();
        }
    }

    void currentRowChanged() {
        const int r = liveRow() >= 0 ? liveRow() : (dataset() ? dataset()->recNo() - 1 : -1);
        if (r >= 0 && r < rowCount() && columnCount() > 0) emit dataChanged(index(r, 0), index(r, columnCount() - 1));
    }

private:
    DBGrid* grid_;
    std::vector<QStringList> rows_;
    db::Dataset* lastDs_ = nullptr;
    int lastInsert_ = -1;
    int lastColumns_ = -1;
};

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        CellStyle st;
        try {
            st = grid_->cellStyle(index.row(), index.column(), selected);
        } catch (...) {
            // Painting cannot show a box; report once the paint is over.
            auto error = std::current_exception();
            QTimer::singleShot(0, grid_, [error] { reportError(error); });
            QStyledItemDelegate::paint(p, option, index);
            return;
        }
        p->save();
        p->fillRect(option.rect, st.background);
        p->setFont(st.font);
        p->setPen(st.foreground);
        const QVariant align = index.data(Qt::TextAlignmentRole);
        const QRect r = option.rect.adjusted(3, 0, -3, 0);
        const QString text = QFontMetrics(st.font).elidedText(st.text, Qt::ElideRight, r.width());
        p->drawText(r, static_cast<int>(align.toInt()), text);
        p->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        if (const QStringList items = grid_->pickList(index.column()); !items.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->setObjectName(QStringLiteral("InplaceCombo"));
            combo->addItems(items);
            return combo;
        }
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("InplaceEdit"));
        edit->setFrame(false);
        if (db::Dataset* ds = grid_->model_->dataset())
            if (db::Field* f = ds->findField(fromQString(grid_->fieldNameOf(index.column()))))
                if (db::isTextKind(f->kind()) && f->size() > 0) edit->setMaxLength(f->size());
        const auto& cols = grid_->columns_;
        const bool ellipsis = !cols.empty() && cols[static_cast<size_t>(index.column())].ellipsis;
        if (!ellipsis) {
            edit->setParent(parent);
            return edit;
        }
        auto* box = new QWidget(parent);
        box->setObjectName(QStringLiteral("InplaceEditor"));
        auto* lay = new QHBoxLayout(box);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(0);
        edit->setParent(box);
        lay->addWidget(edit);
        auto* button = new QToolButton(box);
        button->setObjectName(QStringLiteral("EllipsisButton"));
        button->setText(QStringLiteral("…"));
        button->setFocusPolicy(Qt::NoFocus);
        lay->addWidget(button);
        box->setFocusProxy(edit);
        const int column = index.column();
        DBGrid* grid = grid_;
        QObject::connect(button, &QToolButton::clicked, grid, [grid, column] { grid->clickEditButton(column); });
        return box;
    }

    static QLineEdit* lineEditOf(QWidget* editor) {
        if (auto* e = qobject_cast<QLineEdit*>(editor)) return e;
        return editor->findChild<QLineEdit*>();
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* c = qobject_cast<QComboBox*>(editor)) {
            c->setCurrentIndex(c->findText(index.data(Qt::EditRole).toString()));
            return;
        }
        if (QLineEdit* e = lineEditOf(editor)) e->setText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* c = qobject_cast<QComboBox*>(editor)) {
            if (c->currentIndex() >= 0) model->setData(index, c->currentText(), Qt::EditRole);
            return;
        }
        if (QLineEdit* e = lineEditOf(editor)) model->setData(index, e->text(), Qt::EditRole);
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

private:
    DBGrid* grid_;
};

DBGrid::DBGrid(const QString& name, QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    setObjectName(name);
    detail::installDataCloseHook();
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& now) {
        if (!syncing_ && now.isValid()) userMovedTo(now.row());
    });
    connect(this, &QTableView::doubleClicked, this, [this] {
        guard([this] {
            if (onDblClick_) onDblClick_();
        });
    });
}

DBGrid::~DBGrid() { detach(); }

void DBGrid::attach() {
    if (!source_) return;
    // A read of the rows by any control (this grid's own included) changes
    // nothing the grid shows.
    auto quiet = [this] {
        db::Dataset* ds = source_->dataSet();
        return reading_ || (ds && readingRows(*ds));
    };
    observers_[0] = source_->onDataChange([this, quiet](db::Field* f) {
        if (quiet()) return;
        if (f) model_->currentRowChanged();
        else rowsChanged();
    });
    observers_[1] = source_->onStateChange([this, quiet] {
        if (!quiet()) rowsChanged();
    });
}

void DBGrid::detach() {
    if (!source_) return;
    for (int& id : observers_) {
        if (id) source_->removeObserver(id);
        id = 0;
    }
}

void DBGrid::setDataSource(db::DataSource* source) {
    detach();
    source_ = source;
    attach();
    rowsChanged();
}

int DBGrid::addColumn(const GridColumn& column) {
    columns_.push_back(column);
    rowsChanged();
    return static_cast<int>(columns_.size()) - 1;
}

void DBGrid::setColumns(const std::vector<GridColumn>& columns) {
    columns_ = columns;
    rowsChanged();
}

void DBGrid::setColumnVisible(int column, bool visible) {
    if (column < 0 || column >= static_cast<int>(columns_.size())) return;
    columns_[static_cast<size_t>(column)].visible = visible;
    setColumnHidden(column, !visible);
}

void DBGrid::setColumnTitle(int column, const QString& title) {
    if (column < 0 || column >= static_cast<int>(columns_.size())) return;
    columns_[static_cast<size_t>(column)].title = title;
    emit model_->headerDataChanged(Qt::Horizontal, column, column);
}

int DBGrid::gridColumnCount() const {
    if (!columns_.empty()) return static_cast<int>(columns_.size());
    db::Dataset* ds = model_->dataset();
    return ds ? ds->fieldCount() : 0;
}

QString DBGrid::fieldNameOf(int column) const {
    if (!columns_.empty())
        return column >= 0 && column < static_cast<int>(columns_.size())
                   ? columns_[static_cast<size_t>(column)].fieldName
                   : QString();
    db::Dataset* ds = model_->dataset();
    if (!ds || column < 0 || column >= ds->fieldCount()) return {};
    return toQString(ds->field(column).fieldName());
}

void DBGrid::setRowSelect(bool on) {
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DBGrid::setReadOnly(bool on) {
    readOnly_ = on;
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
}

void DBGrid::applyColumns() {
    for (size_t i = 0; i < columns_.size(); ++i) {
        setColumnWidth(static_cast<int>(i), columns_[i].width);
        setColumnHidden(static_cast<int>(i), !columns_[i].visible);
    }
}

void DBGrid::rowsChanged() {
    model_->reload();
    applyColumns();
    syncCurrent();
}

void DBGrid::reload() { rowsChanged(); }

void DBGrid::syncCurrent() {
    db::Dataset* ds = model_->dataset();
    syncing_ = true;
    const int row = ds ? ds->recNo() - 1 : -1;
    if (row >= 0 && row < model_->rowCount() && model_->columnCount() > 0) {
        int col = currentIndex().isValid() ? currentIndex().column() : 0;
        while (col < model_->columnCount() - 1 && isColumnHidden(col)) ++col;
        const QModelIndex idx = model_->index(row, col);
        selectionModel()->setCurrentIndex(
            idx, QItemSelectionModel::ClearAndSelect |
                     (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
        scrollTo(idx);
    }
    syncing_ = false;
}

void DBGrid::userMovedTo(int row) {
    const bool ok = guard([this, row] {
        db::Dataset* ds = model_->dataset();
        if (!ds) return;
        const int recNo = model_->recNoOf(row);
        if (recNo != 0 && recNo != ds->recNo()) ds->setRecNo(recNo);
    });
    if (!ok) syncCurrent();  // the move failed (a post refused): stay on the dataset's row
}

QString DBGrid::cellText(int row, int column) const { return model_->value(row, fieldNameOf(column)); }

int DBGrid::rowCountShown() const { return model_->rowCount(); }

CellStyle DBGrid::cellStyle(int row, int column, bool selected) const {
    CellStyle st;
    st.row = row;
    st.column = column;
    st.fieldName = fieldNameOf(column);
    st.text = model_->value(row, st.fieldName);
    st.selected = selected;
    db::Dataset* ds = model_->dataset();
    st.current = ds && row == ds->recNo() - 1;
    st.font = font();
    st.background = selected ? palette().color(QPalette::Highlight) : palette().color(QPalette::Base);
    st.foreground = selected ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text);
    const GridModel* m = model_;
    st.value = [m, row](const QString& field) { return m->value(row, field); };
    if (onDrawCell_) onDrawCell_(st);
    return st;
}

void DBGrid::clickEditButton(int column) {
    guard([this, column] {
        if (onEditButton_) onEditButton_(column);
    });
}

void DBGrid::setPickList(int column, const QStringList& items) { pickLists_[column] = items; }

QStringList DBGrid::pickList(int column) const {
    const auto it = pickLists_.find(column);
    return it == pickLists_.end() ? QStringList() : it->second;
}

}  // namespace ui
