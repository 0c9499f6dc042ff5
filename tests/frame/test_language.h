// A language table of known texts ("txt<id>") loaded in place of the real
// ones for the life of the object, so that tests see exactly which text a
// window asked for.
#pragma once

#include "frame/language.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>

class TestLanguage {
public:
    explicit TestLanguage(std::initializer_list<int> ids);
    ~TestLanguage();
    TestLanguage(const TestLanguage&) = delete;
    TestLanguage& operator=(const TestLanguage&) = delete;

    static QString Text(int id) { return QStringLiteral("txt%1").arg(id); }

private:
    QTemporaryDir dir_;
};
