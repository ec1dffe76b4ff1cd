#pragma once

#include "core/NumberFormat.h"

#include <QLocale>

#include <QFile>
#include <QStringEncoder>
#include <QTest>

// Text as a settings file in the Central European code page holds it.
inline QByteArray cp1250(const QString& text) {
    return QStringEncoder("windows-1250").encode(text);
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The texts the program starts from, and their section as a settings file holds it.
const QString Default1 = QStringLiteral("U počítače už sedíte déle jak");
const QString Default2 = QStringLiteral("Doporučuji práci odložit a protáhnout se.");
const QByteArray DefaultTexts = cp1250("[texts]\r\n1=" + Default1 + "\r\n2=" + Default2 + "\r\n");

template <typename T> using ColumnName = const char*;

// A data table's columns, their types in order: columns<int, QString>("count", "text").
template <typename... T> void columns(ColumnName<T>... names) {
    (QTest::addColumn<T>(names), ...);
}

// The current row's value in a column, where QFETCH would name it for one use only.
template <typename T> const T& cell(const char* name) {
    return *static_cast<const T*>(QTest::qData(name, qMetaTypeId<T>()));
}

// The separators a locale of Qt's gives, as the platform passes them on.
inline NumberFormat formatOf(const QLocale& locale) {
    return NumberFormat::of(locale.decimalPoint().toStdU16String(),
                            locale.groupSeparator().toStdU16String());
}

// The settings file's code takes bytes and text of the standard library.
inline std::string stdBytes(const QByteArray& bytes) {
    return bytes.toStdString();
}
inline QByteArray qBytes(const std::string& bytes) {
    return QByteArray::fromStdString(bytes);
}
inline std::u16string stdText(const QString& text) {
    return text.toStdU16String();
}
inline QString qText(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
