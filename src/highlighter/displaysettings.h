#pragma once

#include <QColor>

// The colours the options and the Notes file give the editor and its highlighter; an invalid
// colour is "none". Named after the keys they are stored under.
struct DisplaySettings
{
    QColor color;    // editor text
    QColor colorBk;  // editor background
    QColor colorN;   // number foreground
    QColor colorNBk; // number background
    QColor colorK;   // keyword foreground
    QColor colorKBk; // keyword background
};
