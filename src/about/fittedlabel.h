#pragma once

#include <QFont>
#include <QLabel>

// A one-line label that keeps its text whole: as wide as its layout makes it, it writes the
// text in its designed font, or in a smaller size of it when the face found on the machine is
// wider than the intended one. It asks its layout for no width of its own.
class FittedLabel : public QLabel
{
    Q_OBJECT

public:
    FittedLabel(const QString &text, const QFont &designed, QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    QFont m_designed;
};
