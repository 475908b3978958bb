#include "dialogcontrols.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace DialogControls {

void click(QDialog &dialog, const char *name)
{
    auto *button = dialog.findChild<QPushButton *>(QLatin1String(name));
    QVERIFY2(button, name);
    button->click();
}

void setText(QDialog &dialog, const char *name, const QString &text)
{
    auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(name));
    QVERIFY2(edit, name);
    edit->setText(text);
}

} // namespace DialogControls
