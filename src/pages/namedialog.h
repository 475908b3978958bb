#pragma once

#include <QDialog>

class QLineEdit;

// Asks for one page name. Its caption is "Quillbox enter page name" until the caller sets
// another; okPressed tells whether "Ok" closed it.
class NameDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NameDialog(QWidget *parent = nullptr);

    QString name() const;
    void setName(const QString &name);
    bool okPressed() const { return m_okPressed; }

private:
    QLineEdit *m_nameEdit = nullptr;
    bool m_okPressed = false;
};
