#pragma once

#include "inistore/inivarlinker.h"
#include "notessettings.h"
#include "notesstore.h"
#include "writtenpagelines.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// The keys of the Notes file and the one sequence that links them, run by the variable
// linker's handler: the settings first (in the default section "Notes"), then one group of
// keys per page. Reading keeps every value whose key is missing; writing writes every value.
class NotesLayout
{
public:
    static const QStringList defaultPageNames;

    // written, when given, tells which pages' entries a write can keep, and learns the pages
    // each write makes.
    NotesLayout(IniVarLinker &linker, NotesSettings &settings, WrittenPageLines *written = nullptr)
        : m_linker(linker), m_settings(settings), m_written(written)
    {
    }

    // Replaces pages by the stored ones; with no page names stored, by the four default pages.
    // Their text comes in the given form.
    void read(QList<StoredPage> &pages, PageTextForm form = PageTextForm::Lines);
    void write(const QList<StoredPage> &pages);

private:
    void linkSettings(std::vector<std::string> &pageNames);
    void linkPage(int index, PageRecord &record, PageTextForm form);
    void readStoredLines(int index, PageRecord &record);
    void linkPlaces(int index, PageRecord &record);
    void writePageLines(int index, const StoredPage &page);

    void linkInt(std::string_view section, const std::string &key, int &value);
    void linkFlag(std::string_view section, const std::string &key, bool &flag);
    void linkText(const std::string &key, QString &text);
    void linkBytes(const std::string &key, QByteArray &bytes);
    void linkLines(const std::string &key, QStringList &lines);
    void linkColor(const std::string &key, QColor &color);
    void linkPassword(QString &password);
    void linkDateTime(const std::string &key, double &value);

    IniVarLinker &m_linker;
    NotesSettings &m_settings;
    WrittenPageLines *m_written;
};
