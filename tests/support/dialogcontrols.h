#pragma once

#include <QString>

class QDialog;

// What a user does to a dialog's controls, found by their object names. A control that is not
// there fails the test.
namespace DialogControls {

void click(QDialog &dialog, const char *name);
void setText(QDialog &dialog, const char *name, const QString &text);

} // namespace DialogControls
