#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// How the bytes of the Notes file become text and back. A value that is valid UTF-8 is UTF-8;
// any other value is Windows-1252, the text of files the old 8-bit program wrote. Text is always
// written as UTF-8 without a byte-order mark.
namespace NotesText {

QString fromBytes(std::string_view bytes);
std::string toBytes(const QString &text);

QStringList fromByteLines(const std::vector<std::string> &lines);
std::vector<std::string> toByteLines(const QStringList &lines);

} // namespace NotesText
