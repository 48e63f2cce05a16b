// The application menu that the application button opens: the commands with
// their images on the left, the recent projects headed "当前文档" (300 pixels
// wide) on the right, and "退出" at the bottom. Every entry reports its
// command id; the menu closes first.
#pragma once

#include <QFrame>
#include <QStringList>

class QVBoxLayout;

class AppMenu : public QFrame {
    Q_OBJECT
public:
    static constexpr int kRecentWidth = 300;

    explicit AppMenu(QWidget* parent = nullptr);

    // Fills the recent list: one entry per project folder, newest first.
    void SetRecent(const QStringList& folders);
    // Shows the menu with its top-left corner at a global point.
    void Popup(const QPoint& global);

signals:
    void Command(int id);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* addItem(QVBoxLayout* layout, int id, const QString& caption, int image);
    void trigger(int id);

    QVBoxLayout* m_recent = nullptr;
};
