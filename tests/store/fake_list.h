// A list control that records what the store puts into it.
#pragma once

#include "store/list_control.h"

#include <QList>
#include <QStringList>

class FakeList : public ardeko::IListControl {
public:
    void Clear() override {
        items_.clear();
        data_.clear();
        selected_ = -1;
    }
    void AddItem(const std::string& text) override {
        items_ << QString::fromStdString(text);
        data_ << -999; // shows an item whose data was never set
    }
    int NewIndex() const override { return ListCount() - 1; }
    void SetItemData(int index, std::int32_t value) override { data_[index] = value; }
    int ListCount() const override { return static_cast<int>(items_.size()); }
    void SetListIndex(int index) override { selected_ = index; }

    // "*(all)=0,Banks=1": text=data per item, the selected one starred.
    QString Text() const {
        QStringList out;
        for (int i = 0; i < ListCount(); ++i)
            out << QString("%1%2=%3").arg(i == selected_ ? "*" : "").arg(items_[i]).arg(data_[i]);
        return out.join(',');
    }

private:
    QStringList items_;
    QList<std::int32_t> data_;
    int selected_ = -1;
};
