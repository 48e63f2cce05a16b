// A pane whose content this version of the editor does not have yet: it
// fills its place in the layout with the panel colour and says so, instead of
// showing anything that looks like working content.
#pragma once

#include <QWidget>

class EmptyPane : public QWidget {
    Q_OBJECT
public:
    // `what` names the pane ("Folder tree").
    EmptyPane(const QString& what, QWidget* parent = nullptr);
    QString What() const { return m_what; }
    static QString NoteFor(const QString& what);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_what;
};
