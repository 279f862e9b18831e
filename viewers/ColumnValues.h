#pragma once
// One value column of a record file read in place, as the y values of a graph series whose x
// is the row index: the graph reads them from the store when it draws, nothing is copied.

#include <memory>

#include "chart/IndexedValues.h"
#include "files/RecordStore.h"

class CColumnValues final : public IIndexedValues {
public:
    CColumnValues(std::shared_ptr<const CRecordStore> store, int column)
        : store_(std::move(store)), column_(column)
    {
    }
    std::size_t size() const override { return store_->rowCount(); }
    void values(std::size_t first, std::size_t count, double* out) const override
    {
        store_->values(column_, first, count, out);
    }
    YExtremes extremes(std::size_t first, std::size_t count) const override
    {
        const CValueColumn::Extremes e = store_->extremes(column_, first, count);
        return {e.low, e.high, static_cast<std::uint32_t>(e.lowRow),
                static_cast<std::uint32_t>(e.highRow)};
    }

private:
    std::shared_ptr<const CRecordStore> store_;
    int column_;
};
