#pragma once

#include <QColor>
#include <QStringList>

// What the options and the Notes file give the editor and its highlighter: the colours, named
// after the keys they are stored under (an invalid colour is "none"), and the keyword list.
struct DisplaySettings
{
    QColor color;    // editor text
    QColor colorBk;  // editor background
    QColor colorN;   // number foreground
    QColor colorNBk; // number background
    QColor colorK;   // keyword foreground
    QColor colorKBk; // keyword background
    QStringList keywords; // entries keep their spelling
};
