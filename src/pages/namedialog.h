#pragma once

#include <QDialog>

class QLineEdit;

// Asks for one page name. Its caption is "Quillbox enter page name" until the caller sets
// another; okPressed tells whether "Ok" closed it. The dialog is at least as wide as its caption
// needs in a title bar, so the caption is never cut.
class NameDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NameDialog(QWidget *parent = nullptr);

    QString name() const;
    void setName(const QString &name);
    bool okPressed() const { return m_okPressed; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitCaption();

    QLineEdit *m_nameEdit = nullptr;
    bool m_okPressed = false;
};
