#pragma once
#include <string>

#include <QString>

// The core's texts are UTF-8; these are the only conversions the widgets
// make (CP932 has already become UTF-8 in the core's row texts).
inline QString Qs(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline QString Qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

// A widget's object name from its resource id, so tests find controls by id.
inline QString IdName(int id) { return QString::number(id); }
