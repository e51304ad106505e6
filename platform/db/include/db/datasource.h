// Data sources: what bound controls watch. A data source shows one dataset
// and forwards its changes to observers registered by the window layer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/dataset.h"

namespace db {

class DataSource {
public:
    explicit DataSource(Dataset* dataset = nullptr, std::string name = {});
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const std::string& name() const { return name_; }
    void setName(std::string n) { name_ = std::move(n); }
    Dataset* dataSet() const { return ds_; }
    void setDataSet(Dataset* dataset);

    // A disabled source forwards nothing (controls show nothing).
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    // A control that starts typing puts the dataset into Edit (see edit()).
    bool autoEdit() const { return autoEdit_; }
    void setAutoEdit(bool on) { autoEdit_ = on; }

    // Inactive when no dataset or disabled.
    DatasetState state() const;
    // Called by a control before it writes: Edit when autoEdit and browsing;
    // false when the dataset cannot be written now.
    bool edit();

    // Observers; each returns an id for removeObserver.
    //  dataChange(field): field changed (nullptr: the row, the rows or the
    //  dataset as a whole changed: open, close, scroll, post, refresh).
    //  stateChange(): Inactive/Browse/Edit/Insert changed.
    //  updateData(): before a post, controls write their pending text.
    int onDataChange(std::function<void(Field*)> f);
    int onStateChange(std::function<void()> f);
    int onUpdateData(std::function<void()> f);
    void removeObserver(int id);

private:
    friend class Dataset;
    void dataChanged(Field* f);
    void stateChanged();
    void updateData();
    void datasetGone();

    template <class F>
    struct Entry {
        int id;
        F f;
    };
    Dataset* ds_ = nullptr;
    std::string name_;
    bool enabled_ = true;
    bool autoEdit_ = true;
    int nextId_ = 1;
    std::vector<Entry<std::function<void(Field*)>>> data_;
    std::vector<Entry<std::function<void()>>> state_;
    std::vector<Entry<std::function<void()>>> update_;
};

}  // namespace db
