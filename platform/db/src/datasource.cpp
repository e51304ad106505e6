#include "db/datasource.h"

#include <algorithm>

namespace db {

DataSource::DataSource(Dataset* dataset, std::string name) : name_(std::move(name)) { setDataSet(dataset); }

DataSource::~DataSource() {
    if (ds_) {
        auto& v = ds_->sources_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
}

void DataSource::setDataSet(Dataset* dataset) {
    if (dataset == ds_) return;
    if (ds_) {
        auto& v = ds_->sources_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    ds_ = dataset;
    if (ds_) ds_->sources_.push_back(this);
    stateChanged();
    dataChanged(nullptr);
}

void DataSource::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (enabled_) {
        stateChanged();
        dataChanged(nullptr);
    }
}

DatasetState DataSource::state() const {
    if (!ds_ || !enabled_) return DatasetState::Inactive;
    return ds_->state();
}

bool DataSource::edit() {
    if (!ds_ || !enabled_ || !ds_->active()) return false;
    if (ds_->state() == DatasetState::Edit || ds_->state() == DatasetState::Insert) return true;
    if (!autoEdit_ || !ds_->canModify()) return false;
    ds_->edit();
    return true;
}

int DataSource::onDataChange(std::function<void(Field*)> f) {
    data_.push_back({nextId_, std::move(f)});
    return nextId_++;
}

int DataSource::onStateChange(std::function<void()> f) {
    state_.push_back({nextId_, std::move(f)});
    return nextId_++;
}

int DataSource::onUpdateData(std::function<void()> f) {
    update_.push_back({nextId_, std::move(f)});
    return nextId_++;
}

void DataSource::removeObserver(int id) {
    auto drop = [id](auto& v) {
        v.erase(std::remove_if(v.begin(), v.end(), [id](auto& e) { return e.id == id; }), v.end());
    };
    drop(data_);
    drop(state_);
    drop(update_);
}

void DataSource::dataChanged(Field* f) {
    if (!enabled_) return;
    auto copy = data_;
    for (auto& e : copy) e.f(f);
}

void DataSource::stateChanged() {
    if (!enabled_) return;
    auto copy = state_;
    for (auto& e : copy) e.f();
}

void DataSource::updateData() {
    if (!enabled_) return;
    auto copy = update_;
    for (auto& e : copy) e.f();
}

void DataSource::datasetGone() {
    ds_ = nullptr;
    stateChanged();
    dataChanged(nullptr);
}

}  // namespace db
