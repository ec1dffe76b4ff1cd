#pragma once

#include <QStringEncoder>
#include <QTest>

// Text as a settings file in the Central European code page holds it.
inline QByteArray cp1250(const QString& text) {
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

template <typename T> using ColumnName = const char*;

// A data table's columns, their types in order: columns<int, QString>("count", "text").
template <typename... T> void columns(ColumnName<T>... names) {
    (QTest::addColumn<T>(names), ...);
}

// The current row's value in a column, where QFETCH would name it for one use only.
template <typename T> const T& cell(const char* name) {
    return *static_cast<const T*>(QTest::qData(name, qMetaTypeId<T>()));
}
