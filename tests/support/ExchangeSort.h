#pragma once

#include <QtGlobal>

#include <numeric>
#include <utility>
#include <vector>

// The exchange sort the records list is defined by, written out literally in O(n^2) on
// indices so that ties can be told apart: the reference the fast ranking must match.
inline std::vector<int> literalExchangeSort(const std::vector<qint16> &values)
{
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        for (std::size_t j = i + 1; j < order.size(); ++j)
            if (values[std::size_t(order[j])] < values[std::size_t(order[i])])
                std::swap(order[i], order[j]);
    return order;
}
