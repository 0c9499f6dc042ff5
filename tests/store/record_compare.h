// Field-by-field record comparison that names the first field that differs.
#pragma once

#include "store/records.h"

#include <QString>
#include <QVariant>
#include <vector>

template <class R> std::vector<std::pair<QString, QVariant>> FieldList(const R& r) {
    std::vector<std::pair<QString, QVariant>> out;
    ardeko::VisitFields(r, [&](const char* name, const auto& f) {
        using F = std::decay_t<decltype(f)>;
        if constexpr (std::is_same_v<F, std::string>)
            out.emplace_back(name, QString::fromStdString(f));
        else
            out.emplace_back(name, QVariant::fromValue(f));
    });
    return out;
}

// "" when equal, else "field: got vs expected".
template <class R> QString Difference(const R& got, const R& expected) {
    const auto a = FieldList(got), b = FieldList(expected);
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].second != b[i].second)
            return a[i].first + ": " + a[i].second.toString().left(60) + " vs " +
                   b[i].second.toString().left(60);
    return {};
}

template <class R> QString Difference(const std::vector<R>& got, const std::vector<R>& expected) {
    if (got.size() != expected.size())
        return QString("count %1 vs %2").arg(got.size()).arg(expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        if (QString d = Difference(got[i], expected[i]); !d.isEmpty())
            return QString("record %1: %2").arg(i).arg(d);
    return {};
}

#define COMPARE_RECORDS(got, expected) QCOMPARE(Difference(got, expected), QString())
