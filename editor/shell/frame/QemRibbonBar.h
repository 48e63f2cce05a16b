// The top band of the main window: its background, the window's caption, the
// 45 x 45 application button that opens the application menu, and the step
// tab strip along its lowest band. It shows no ribbon categories.
#pragma once

#include <QAbstractButton>
#include <QWidget>

class AppMenu;
class CQemTabCtrl;

// The round application button ("文件"), drawn from the shell's pictures.
class AppButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kSize = 45;
    explicit AppButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(kSize, kSize); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CQemRibbonBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 60;
    static constexpr int kStripHeight = 30;

    explicit CQemRibbonBar(QWidget* parent = nullptr);

    CQemTabCtrl* Tabs() const { return m_tabs; }
    AppButton* ApplicationButton() const { return m_appButton; }
    AppMenu* Menu() const { return m_menu; }
    void SetCaption(const QString& caption);
    void SetRecent(const QStringList& folders);
    // Opens the application menu under the application button.
    void ShowMenu();
    QSize sizeHint() const override;

signals:
    void Command(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    AppButton* m_appButton;
    CQemTabCtrl* m_tabs;
    AppMenu* m_menu;
    QString m_caption;
};
