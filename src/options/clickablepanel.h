#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

// A sunken panel with a centred caption, filled and written in colours of the caller's choice,
// that reports a click (or the space bar while it has the focus).
class ClickablePanel : public QFrame
{
    Q_OBJECT

public:
    explicit ClickablePanel(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    QColor fillColor() const { return m_fill; }
    QColor captionColor() const { return m_captionColor; }
    void setColors(const QColor &fill, const QColor &caption);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_caption;
    QColor m_fill;
    QColor m_captionColor;
};
