// Names and codes of a store's records as short texts, so a test can state a
// whole collection (order included) in one comparison.
#pragma once

#include "store/pw.h"

#include <QStringList>

inline QString NameOf(const ardeko::T_Categ& r) {
    return QString::fromStdString(r.DescrCat);
}
inline QString NameOf(const ardeko::T_SCateg& r) {
    return QString::fromStdString(r.DescrSCat);
}
inline QString NameOf(const ardeko::T_Password& r) {
    return QString::fromStdString(r.service);
}
inline QString NameOf(const ardeko::T_Node& r) {
    return QString::fromStdString(r.DescrCat);
}

// "Banks,Mail" in collection order.
template <class R> QString Names(const ardeko::KeyedCollection<R>& c) {
    QStringList out;
    for (const R& r : c)
        out << NameOf(r);
    return out.join(',');
}

// "Banks=1,Mail=2" (category code) / "Cards=1/1" (category/subcategory code)
// / "Bank A=1/1" (an entry's category/subcategory codes).
inline QString Coded(const ardeko::T_Categ& r) {
    return NameOf(r) + "=" + QString::number(r.Codcat);
}
inline QString Coded(const ardeko::T_SCateg& r) {
    return NameOf(r) + QString("=%1/%2").arg(r.Codcat).arg(r.CodSCat);
}
inline QString Coded(const ardeko::T_Password& r) {
    return NameOf(r) + QString("=%1/%2").arg(r.Codcat).arg(r.CodSCat);
}
template <class R> QString Codes(const ardeko::KeyedCollection<R>& c) {
    QStringList out;
    for (const R& r : c)
        out << Coded(r);
    return out.join(',');
}
