// Windows name their controls as they are built, so that tests and help find
// them by name: new QLineEdit -> Named(new QLineEdit(parent), "txtService").
#pragma once

#include <QString>

namespace qvs {

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace qvs
