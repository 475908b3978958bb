#pragma once

#include <QWidget>

class NoteEditor;

// The strip left of the editor's text that shows the line numbers. Its width follows the digit
// count of the last line number. A double click here selects nothing; the gutter only raises
// doubleClicked, and the editor decides what it means.
class LineNumberGutter : public QWidget
{
    Q_OBJECT

public:
    explicit LineNumberGutter(NoteEditor *editor);

    int preferredWidth() const;
    QSize sizeHint() const override;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    NoteEditor *m_editor;
};
