// The add-photos step's splitter: the browsing row above the storyboard row,
// split two thirds to one third on every layout, with a toggle button on its
// 20-pixel bar that collapses the browsing row and brings it back.
#pragma once

#include <QSplitter>
#include <QSplitterHandle>

class CQemMFCButton;

class CQemSplitter : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kToggleCommand = 316;

    explicit CQemSplitter(QWidget* parent = nullptr);

    bool Collapsed() const { return m_collapsed; }
    void SetCollapsed(bool collapsed);
    void Toggle() { SetCollapsed(!m_collapsed); }
    // Applies the row rule to the current height.
    void LayOutRows();
    CQemMFCButton* ToggleButton() const;

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void moved(int position);
    bool m_collapsed = false;
};

class QemSplitterHandle : public QSplitterHandle {
    Q_OBJECT
public:
    QemSplitterHandle(Qt::Orientation orientation, CQemSplitter* parent);
    CQemMFCButton* Button() const { return m_button; }
    void ShowCollapsed(bool collapsed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CQemMFCButton* m_button;
};
